#include "platform/qt/QtPrompter.h"

#include <QMessageBox>
#include <QPushButton>

namespace kesmaro {

namespace {

QMessageBox::Icon ToIcon(PromptIcon icon)
{
    switch (icon) {
    case PromptIcon::Information:
        return QMessageBox::Information;
    case PromptIcon::Exclamation:
        return QMessageBox::Warning;
    case PromptIcon::Critical:
        return QMessageBox::Critical;
    case PromptIcon::Question:
        return QMessageBox::Question;
    case PromptIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

PromptAnswer QtPrompter::Ask(const Prompt& prompt)
{
    QMessageBox box(m_parent);
    box.setWindowModality(Qt::ApplicationModal);
    box.setWindowTitle(QString::fromStdString(prompt.title));
    // Plain text: a message is never read as markup; CR LF becomes Qt's line break.
    box.setTextFormat(Qt::PlainText);
    box.setText(
        QString::fromStdString(prompt.text).replace(QLatin1String("\r\n"), QLatin1String("\n")));
    box.setIcon(ToIcon(prompt.icon));

    // The captions the Japanese system boxes show.
    QPushButton* first = nullptr;
    QPushButton* second = nullptr;
    PromptAnswer firstAnswer = PromptAnswer::Ok;
    PromptAnswer secondAnswer = PromptAnswer::Ok;
    switch (prompt.buttons) {
    case PromptButtons::Ok:
        first = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        break;
    case PromptButtons::OkCancel:
        first = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        second = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
        secondAnswer = PromptAnswer::Cancel;
        break;
    case PromptButtons::YesNo:
        first = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
        second = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
        firstAnswer = PromptAnswer::Yes;
        secondAnswer = PromptAnswer::No;
        break;
    }
    box.setDefaultButton(first);
    // Escape and the close button count as the last button.
    box.setEscapeButton(second ? second : first);
    box.exec();
    if (second && box.clickedButton() == second)
        return secondAnswer;
    if (box.clickedButton() == first)
        return firstAnswer;
    return second ? secondAnswer : firstAnswer;
}

} // namespace kesmaro
