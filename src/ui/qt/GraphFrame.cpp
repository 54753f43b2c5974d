#include "ui/qt/GraphFrame.h"

#include "graph/GraphClicks.h"
#include "graph/GraphDisplay.h"
#include "state/Program.h"
#include "ui/qt/GraphPainter.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace kesmaro {

GraphFrame::GraphFrame(Program& p, QWidget* parent) : QWidget(parent), m_program(p)
{
    setObjectName(QStringLiteral("frmGraph"));
}

void GraphFrame::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // Until the first layout the frame has no picture to show.
    if (!m_program.graph.picture.layout.frame.isEmpty())
        PaintGraph(painter, m_program.graph.picture);
    else
        painter.fillRect(rect(), palette().window());
}

void GraphFrame::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint()))
        return;
    GraphClickAt(m_program, ToPixelPoint(event->position().toPoint()));
}

bool GraphFrame::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = QString::fromStdString(
            GraphToolTipAt(m_program.graph.picture.layout, ToPixelPoint(help->pos())));
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, this);
        return true;
    }
    return QWidget::event(event);
}

} // namespace kesmaro
