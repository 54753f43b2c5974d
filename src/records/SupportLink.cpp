#include "records/SupportLink.h"

#include "records/Documents.h"

namespace kesmaro {

QString SupportLink::Name()
{
    return QStringLiteral("Kesmaro サポートページ");
}

QString SupportLink::Address()
{
    return QStringLiteral("https://kesmaro.example/");
}

bool SupportLink::Click(Context& ctx)
{
    if (!m_armed) {
        m_armed = true;
        return false;
    }
    OpenUrl(ctx, Address(), 500);
    m_armed = false;
    return true;
}

} // namespace kesmaro
