#include "ui/qt/AreaFinderDialog.h"

#include "platform/qt/Pictures.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>

using namespace Qt::StringLiterals;

namespace kesmaro {

namespace {

// Large frames are shown at most this big; the areas are a few pixels high, so each also gets
// an enlarged picture of its own.
constexpr int kViewWidth = 800;
constexpr int kViewHeight = 500;
constexpr int kZoom = 3;

struct Entry {
    QString name;
    const FoundNumber* number;
    QColor colour;
};

QString describe(const FoundNumber& number)
{
    switch (number.status) {
    case FindStatus::Found:
        return u"%1  (X %2, Y %3, 幅 %4, 高さ %5)"_s.arg(QString::fromStdString(number.digits))
            .arg(number.area.x)
            .arg(number.area.y)
            .arg(number.area.width)
            .arg(number.area.height);
    case FindStatus::Ambiguous:
        return u"候補が %1 か所あります（設定しません）"_s.arg(number.all.size());
    case FindStatus::NotFound:
        break;
    }
    return u"見つかりません（設定しません）"_s;
}

QPixmap framePicture(const PixelBuffer& frame, const std::array<Entry, 4>& entries)
{
    QImage image = ToQImage(frame);
    if (image.isNull())
        return {};
    const double scale = std::min({1.0, static_cast<double>(kViewWidth) / image.width(),
                                   static_cast<double>(kViewHeight) / image.height()});
    QImage shown = image
                       .scaled(QSize(static_cast<int>(image.width() * scale),
                                     static_cast<int>(image.height() * scale)),
                               Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                       .convertToFormat(QImage::Format_RGB32);
    QPainter painter(&shown);
    painter.setRenderHint(QPainter::Antialiasing);
    const auto scaled = [&](const Rect& r) {
        return QRectF(r.x * scale - 3, r.y * scale - 3, r.width * scale + 6, r.height * scale + 6);
    };
    for (const Entry& e : entries) {
        const FoundNumber& n = *e.number;
        if (n.status == FindStatus::Found) {
            painter.setPen(QPen(e.colour, 2));
            painter.drawRect(scaled(n.area));
            // The name on a dark tag above the box, readable over sky and panel alike.
            const QRectF box = scaled(n.area);
            QRectF tag =
                painter.fontMetrics().boundingRect(e.name).toRectF().adjusted(-3, -1, 3, 1);
            tag.moveBottomLeft(box.top() - tag.height() < 0
                                   ? box.bottomLeft() + QPointF(0, tag.height() + 1)
                                   : box.topLeft() - QPointF(0, 1));
            painter.fillRect(tag, QColor(0, 0, 0, 170));
            painter.drawText(tag, Qt::AlignCenter, e.name);
        } else if (n.status == FindStatus::Ambiguous) {
            painter.setPen(QPen(e.colour, 2, Qt::DashLine));
            for (const Rect& r : n.all)
                painter.drawRect(scaled(r));
        }
    }
    return QPixmap::fromImage(shown);
}

} // namespace

AreaFinderDialog::AreaFinderDialog(const PixelBuffer& frame, const AreaProposal& proposal,
                                   QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(u"自動検出"_s);
    const std::array<Entry, 4> entries = {{
        {u"Lv"_s, &proposal.level, QColor(255, 64, 64)},
        {u"Exp"_s, &proposal.exp, QColor(40, 220, 90)},
        {u"Money"_s, &proposal.coins, QColor(60, 160, 255)},
        {u"Money(2)"_s, &proposal.coins2, QColor(255, 120, 255)},
    }};

    auto* layout = new QVBoxLayout(this);
    auto* picture = new QLabel(this);
    picture->setObjectName(u"picFrame"_s);
    picture->setPixmap(framePicture(frame, entries));
    layout->addWidget(picture);

    auto* grid = new QGridLayout;
    int row = 0;
    for (const Entry& e : entries) {
        const FoundNumber& n = *e.number;
        // A second coin display that is not there is no news.
        if (e.number == &proposal.coins2 && n.status == FindStatus::NotFound)
            continue;
        auto* name = new QLabel(e.name, this);
        name->setStyleSheet(u"color: %1; font-weight: bold;"_s.arg(e.colour.darker(130).name()));
        grid->addWidget(name, row, 0);
        auto* crop = new QLabel(this);
        if (n.status == FindStatus::Found) {
            const QImage zoomed = ToQImage(CropFrame(frame, n.area))
                                      .scaled(n.area.width * kZoom, n.area.height * kZoom,
                                              Qt::IgnoreAspectRatio, Qt::FastTransformation);
            crop->setPixmap(QPixmap::fromImage(zoomed));
        }
        grid->addWidget(crop, row, 1);
        const QString text = describe(n);
        grid->addWidget(new QLabel(text, this), row, 2);
        m_summary << e.name + u": "_s + text;
        ++row;
    }
    grid->setColumnStretch(2, 1);
    layout->addLayout(grid);

    auto* question = new QLabel(u"見つかった領域をキャプチャ領域に設定しますか？"_s, this);
    layout->addWidget(question);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* apply = buttons->addButton(u"適用"_s, QDialogButtonBox::AcceptRole);
    apply->setObjectName(u"cmdApply"_s);
    apply->setEnabled(proposal.level.status == FindStatus::Found ||
                      proposal.exp.status == FindStatus::Found ||
                      proposal.coins.status == FindStatus::Found);
    buttons->addButton(u"キャンセル"_s, QDialogButtonBox::RejectRole)
        ->setObjectName(u"cmdCancel"_s);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

bool AreaFinderDialog::confirm(QWidget* parent, const PixelBuffer& frame,
                               const AreaProposal& proposal)
{
    AreaFinderDialog dialog(frame, proposal, parent);
    return dialog.exec() == QDialog::Accepted;
}

AutoDetectOutcome AreaFinderDialog::detect(Program& p, QWidget* parent)
{
    return AutoDetectCaptureAreas(p,
                                  [parent](const PixelBuffer& frame, const AreaProposal& proposal) {
                                      return confirm(parent, frame, proposal);
                                  });
}

} // namespace kesmaro
