#include "ui/qt/FormVersion.h"

#include "config/Settings.h"
#include "state/Program.h"
#include "ui/qt/Fonts.h"
#include "ui/qt/QtText.h"
#include "ui/qt/Widgets.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

namespace kesmaro {

using namespace Qt::StringLiterals;

FormVersion::FormVersion(Program& p, QWidget* parent)
    : QDialog(parent), m_p(p), m_link(p.documentFolder)
{
    setObjectName(u"FormVersion"_s);
    setWindowTitle(u"バージョン情報"_s);
    setFont(InterfaceFont());
    setModal(true);
    setFixedSize(300, 150);
    QLabel* name =
        PlacedLabel(this, u"Kesmaro  for  Dragonica"_s, "lblName", QRect(16, 12, 268, 24));
    QFont large = name->font();
    large.setPixelSize(16);
    large.setBold(true);
    name->setFont(large);
    PlacedLabel(this, Q(kProgramVersion), "lblVer", QRect(16, 40, 268, 18));
    PlacedLabel(this, u"Support Site"_s, "Label1", QRect(16, 70, 90, 18));
    m_lblHomePage = PlacedLabel(this, QString::fromStdString(SupportLink::Name()), "lblHomePage",
                                QRect(106, 70, 178, 18));
    QPalette palette = m_lblHomePage->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Link));
    m_lblHomePage->setPalette(palette);
    m_lblHomePage->setToolTip(QString::fromStdString(m_link.target()));
    m_lblHomePage->installEventFilter(this);
    m_lblHomePage->setMouseTracking(true);
    m_lblHomePage->setCursor(Qt::PointingHandCursor);
    auto* ok = new QPushButton(u"OK"_s, this);
    ok->setObjectName(u"cmdOK"_s);
    ok->setGeometry(110, 110, 80, 26);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

bool FormVersion::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_lblHomePage)
        return QDialog::eventFilter(watched, event);
    // The hand says "click me" whenever the pointer is over the idle link and stays while it is
    // armed; only the click that opens the site gives the default pointer back.
    if ((event->type() == QEvent::Enter || event->type() == QEvent::MouseMove) && !m_link.armed())
        m_lblHomePage->setCursor(Qt::PointingHandCursor);
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Context ctx = m_p.context();
        if (m_link.Click(ctx))
            m_lblHomePage->setCursor(Qt::ArrowCursor);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kesmaro
