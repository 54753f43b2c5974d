#pragma once

#include "records/SupportLink.h"

#include <QDialog>

class QLabel;

namespace kesmaro {

struct Program;

// The version window: the program's name and version and the support-site link.
class FormVersion : public QDialog {
public:
    explicit FormVersion(Program& p, QWidget* parent = nullptr);

    const SupportLink& link() const { return m_link; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Program& m_p;
    SupportLink m_link;
    QLabel* m_lblHomePage = nullptr;
};

} // namespace kesmaro
