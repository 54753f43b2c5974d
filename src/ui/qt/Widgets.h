#pragma once

#include <QLabel>
#include <QString>

namespace kesmaro {

// A label placed at its designed rectangle; `name` (when given) is its widget name.
inline QLabel* PlacedLabel(QWidget* parent, const QString& text, const char* name, QRect where,
                           Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto* l = new QLabel(text, parent);
    if (name)
        l->setObjectName(QLatin1String(name));
    l->setGeometry(where);
    l->setAlignment(align);
    return l;
}

} // namespace kesmaro
