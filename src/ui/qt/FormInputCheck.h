#pragma once

#include "platform/NumberInput.h"
#include "records/InputCheck.h"

#include <QDialog>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kesmaro {

class Prompter;

// The bounded numeric input dialog: one modal window for every call, its messages through
// the program's prompter. While it runs modally the window timers keep running.
class FormInputCheck : public QDialog, public NumberInput {
public:
    explicit FormInputCheck(Prompter& prompter, QWidget* parent = nullptr);

    std::optional<double> Ask(const NumberRequest& request) override;

    // The design caption before the first call and after a close; the caller's title while
    // open; empty after a confirm or a cancel.
    static QString DesignCaption();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override; // Escape

private:
    bool charactersValid();
    void cmdDec_Click();
    void cmdInc_Click();
    void cmdEnter_Click();
    void cmdCancel_Click();
    void tell(const QString& title, const QString& text);

    Prompter& m_prompter;
    InputCheck m_check{{}, {}, {}};
    std::optional<double> m_value;
    QLabel* m_lblmsg = nullptr;
    QLabel* m_lblminV = nullptr;
    QLabel* m_lblmaxv = nullptr;
    QLineEdit* m_txtInput = nullptr;
    QPushButton* m_cmdEnter = nullptr;
};

} // namespace kesmaro
