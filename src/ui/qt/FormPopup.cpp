#include "ui/qt/FormPopup.h"

#include "app/PopupRemarks.h"
#include "graph/GraphDisplay.h"
#include "state/Program.h"
#include "ui/qt/Fonts.h"
#include "ui/qt/QtGeometry.h"
#include "ui/qt/QtText.h"

#include <QCloseEvent>
#include <QLabel>

namespace kesmaro {

using namespace Qt::StringLiterals;

FormPopup::FormPopup(Program& p) : m_program(p)
{
    setObjectName(u"FormPopup"_s);
    setWindowTitle(u"メッセージ"_s);
    setFont(InterfaceFont());
    m_lblPopUpMsg = new QLabel(this);
    m_lblPopUpMsg->setObjectName(u"lblPopUpMsg"_s);
    m_lblPopUpMsg->setTextFormat(Qt::PlainText);
    m_lblPopUpMsg->setAlignment(Qt::AlignCenter);
    setMessage(u"しばらくお待ちください。"_s);
    resize(p.popup.widthTwips / kTwipsPerPixel, p.popup.heightTwips / kTwipsPerPixel);
}

QString FormPopup::text() const
{
    return m_lblPopUpMsg->text();
}

void FormPopup::showState()
{
    const PopupState& popup = m_program.popup;
    if (!m_program.flags.PopupShown) {
        hide();
        return;
    }
    setWindowTitle(Q(popup.caption));
    QFont font = m_lblPopUpMsg->font();
    font.setPointSize(std::max(1, popup.fontSize));
    m_lblPopUpMsg->setFont(font);
    setOuterSize(QSize(popup.widthTwips, popup.heightTwips) / kTwipsPerPixel);
    setMessage(Q(popup.message));
    show();
}

void FormPopup::setOuterSize(QSize outer)
{
    const QSize frame = frameGeometry().size() - geometry().size();
    resize((outer - frame).expandedTo(QSize(1, 1)));
}

void FormPopup::setMessage(const QString& text)
{
    QString shown = text;
    shown.replace(u"\r\n"_s, u"\n"_s);
    m_lblPopUpMsg->setText(shown);
    m_lblPopUpMsg->adjustSize();
    const PopupPlacement placement =
        CentrePopupLabel(ToPixelSize(size()), ToPixelSize(frameGeometry().size()),
                         ToPixelSize(m_lblPopUpMsg->size()));
    if (placement.outerWidth || placement.outerHeight) {
        QSize outer = frameGeometry().size();
        if (placement.outerWidth)
            outer.setWidth(*placement.outerWidth);
        if (placement.outerHeight)
            outer.setHeight(*placement.outerHeight);
        m_program.popup.widthTwips = outer.width() * kTwipsPerPixel;
        m_program.popup.heightTwips = outer.height() * kTwipsPerPixel;
        setOuterSize(outer);
    }
    m_lblPopUpMsg->move(ToQPoint(placement.label));
    m_lblPopUpMsg->repaint();
}

bool FormPopup::userClose()
{
    if (m_program.flags.ProgramClosing) {
        m_accepting = true;
        close();
        m_accepting = false;
        return true;
    }
    const QString kept = m_lblPopUpMsg->text();
    ++m_closeAttempts;
    // Ticks and commands run during the pauses; one of them may hide the window meanwhile.
    for (const RemarkFrame& frame :
         PopupRemark(m_closeAttempts, m_program.settings.SearchWindowClass)) {
        setMessage(Q(frame.text));
        m_program.services.scheduler.WaitMs(frame.pauseMs);
    }
    setMessage(kept);
    return false;
}

void FormPopup::closeEvent(QCloseEvent* event)
{
    if (!event->spontaneous() || m_accepting || m_program.flags.ProgramClosing) {
        event->accept();
        return;
    }
    event->ignore();
    userClose();
}

} // namespace kesmaro
