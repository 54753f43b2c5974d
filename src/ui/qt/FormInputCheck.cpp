#include "ui/qt/FormInputCheck.h"

#include "platform/Prompter.h"
#include "ui/qt/Fonts.h"
#include "ui/qt/Widgets.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace kesmaro {

using namespace Qt::StringLiterals;

namespace {

QPushButton* button(QWidget* parent, const QString& caption, const char* name, QRect where)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(where);
    // Enter clicks the focused button, as in the platform's dialogs; Enter in the text box is
    // taken by the event filter first and only moves the focus to 決 定.
    b->setAutoDefault(true);
    return b;
}

} // namespace

QString FormInputCheck::DesignCaption()
{
    return u"パラメータ入力"_s;
}

FormInputCheck::FormInputCheck(Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_prompter(prompter)
{
    setObjectName(u"FormInputCheck"_s);
    setWindowTitle(DesignCaption());
    setFont(InterfaceFont());
    setModal(true);
    setFixedSize(300, 150);
    m_lblmsg = PlacedLabel(this, u"インプットガイド"_s, "lblmsg", QRect(12, 8, 276, 40),
                           Qt::AlignLeft | Qt::AlignTop);
    m_lblmsg->setWordWrap(true);
    PlacedLabel(this, u"最小："_s, "lblmin", QRect(12, 54, 40, 18));
    m_lblminV = PlacedLabel(this, {}, "lblminV", QRect(52, 54, 90, 18));
    PlacedLabel(this, u"最大："_s, "lblmax", QRect(156, 54, 40, 18));
    m_lblmaxv = PlacedLabel(this, {}, "lblmaxv", QRect(196, 54, 90, 18));
    auto* dec = button(this, u"<"_s, "cmdDec", QRect(12, 78, 28, 24));
    m_txtInput = new QLineEdit(this);
    m_txtInput->setObjectName(u"txtInput"_s);
    m_txtInput->setGeometry(44, 78, 212, 24);
    m_txtInput->setAlignment(Qt::AlignRight);
    m_txtInput->installEventFilter(this);
    auto* inc = button(this, u">"_s, "cmdInc", QRect(260, 78, 28, 24));
    m_cmdEnter = button(this, u"決 定"_s, "cmdEnter", QRect(60, 114, 80, 26));
    auto* cancel = button(this, u"キャンセル"_s, "cmdCancel", QRect(160, 114, 80, 26));
    connect(dec, &QPushButton::clicked, this, [this] { cmdDec_Click(); });
    connect(inc, &QPushButton::clicked, this, [this] { cmdInc_Click(); });
    connect(m_cmdEnter, &QPushButton::clicked, this, [this] { cmdEnter_Click(); });
    connect(cancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

std::optional<double> FormInputCheck::Ask(const NumberRequest& request)
{
    m_check = InputCheck(request.min, request.max, request.step);
    m_value.reset();
    m_lblminV->setText(QString::fromStdString(InputCheck::NumberText(m_check.minValue())));
    m_lblmaxv->setText(QString::fromStdString(InputCheck::NumberText(m_check.maxValue())));
    m_lblmsg->setText(QString::fromStdString(request.message));
    const QString title = QString::fromStdString(request.title);
    setWindowTitle(title.isEmpty() ? DesignCaption() : title);
    m_txtInput->setText(QString::fromStdString(InputCheck::NumberText(request.initial)));
    m_txtInput->selectAll();
    m_txtInput->setFocus();
    exec();
    return m_value;
}

void FormInputCheck::tell(const QString& title, const QString& text)
{
    m_prompter.Ask(
        Prompt{title.toStdString(), text.toStdString(), PromptButtons::Ok, PromptIcon::None});
}

bool FormInputCheck::charactersValid()
{
    if (InputCheck::ValidCharacters(m_txtInput->text().toStdString()))
        return true;
    tell(u"入力チェック"_s, u"無効文字が含まれています。"_s);
    return false;
}

void FormInputCheck::cmdDec_Click()
{
    if (charactersValid())
        m_txtInput->setText(QString::fromStdString(m_check.Dec(m_txtInput->text().toStdString())));
}

void FormInputCheck::cmdInc_Click()
{
    if (charactersValid())
        m_txtInput->setText(QString::fromStdString(m_check.Inc(m_txtInput->text().toStdString())));
}

void FormInputCheck::cmdEnter_Click()
{
    double value = 0;
    switch (m_check.Confirm(m_txtInput->text().toStdString(), &value)) {
    case InputCheck::Verdict::InvalidCharacters:
        tell(u"入力チェック"_s, u"無効文字が含まれています。"_s);
        return;
    case InputCheck::Verdict::BelowMinimum:
        tell(u"入力エラー"_s, u"入力下限を超えています"_s);
        m_txtInput->setFocus();
        return;
    case InputCheck::Verdict::AboveMaximum:
        tell(u"入力エラー"_s, u"入力上限を超えています"_s);
        m_txtInput->setFocus();
        return;
    case InputCheck::Verdict::Confirmed:
        m_value = value;
        setWindowTitle(QString());
        done(Accepted);
        return;
    }
}

void FormInputCheck::cmdCancel_Click()
{
    m_value.reset();
    setWindowTitle(QString());
    done(Rejected);
}

void FormInputCheck::reject()
{
    cmdCancel_Click();
}

void FormInputCheck::closeEvent(QCloseEvent* event)
{
    // The close control: a cancel, and the next call finds the window as designed.
    QDialog::closeEvent(event); // rejects: the cancel's steps
    m_value.reset();
    setWindowTitle(DesignCaption());
    if (isVisible())
        done(Rejected);
}

bool FormInputCheck::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_txtInput) {
        if (event->type() == QEvent::FocusIn) {
            // After the focus has settled: a click would otherwise put the caret back.
            QTimer::singleShot(0, m_txtInput, [this] { m_txtInput->selectAll(); });
        } else if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                m_cmdEnter->setFocus();
                return true;
            }
            if (key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete)
                return false;
            // Movement and editing keys without text stay the box's own.
            const QString text = key->text();
            if (text.isEmpty() || key->matches(QKeySequence::Paste) ||
                key->matches(QKeySequence::SelectAll) || key->matches(QKeySequence::Copy))
                return false;
            if (text.size() != 1 || !InputCheck::KeyPasses(text[0].unicode()))
                return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kesmaro
