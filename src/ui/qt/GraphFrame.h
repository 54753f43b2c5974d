#pragma once

#include <QWidget>

namespace kesmaro {

struct Program;

// frmGraph: shows what the graph operations last laid out and drew. Clicks go to the click
// handler of the graph widget under the pointer; its tool tip shows on hovering.
class GraphFrame : public QWidget {
public:
    GraphFrame(Program& p, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    Program& m_program;
};

} // namespace kesmaro
