#pragma once

#include <QWidget>

class QLabel;

namespace kesmaro {

struct Program;

// The message window the capture cycle shows while the game is missing. The user's closes are
// refused with a remark; the program's own closes are accepted.
class FormPopup : public QWidget {
public:
    explicit FormPopup(Program& p);

    // Shown or hidden as PopupState and PopupShown say.
    void showState();
    // A close by the user (the close box): refused with the next remark unless the program is
    // closing, in which case the window closes. Returns true when it closed.
    bool userClose();

    int closeAttempts() const { return m_closeAttempts; }
    QString text() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void setMessage(const QString& text);
    void setOuterSize(QSize outer);

    Program& m_program;
    QLabel* m_lblPopUpMsg;
    int m_closeAttempts = 0;
    bool m_accepting = false;
};

} // namespace kesmaro
