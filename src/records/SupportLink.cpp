#include "records/SupportLink.h"

#include "common/Paths.h"
#include "config/CommonQt.h"
#include "records/Documents.h"

namespace kesmaro {

namespace {

constexpr int kOpenWaitMs = 500;

} // namespace

QString SupportLink::Name()
{
    return QStringLiteral("Kesmaro サポートページ");
}

QString SupportLink::SiteAddress()
{
    return QStringLiteral(KESMARO_SUPPORT_URL).trimmed();
}

SupportLink::SupportLink(const QString& documentFolder, const QString& site)
    : m_target(site.trimmed()), m_opensSite(!m_target.isEmpty())
{
    if (!m_opensSite)
        m_target = JoinPath(documentFolder, QString(kQuickReferenceDocument));
}

bool SupportLink::Click(Context& ctx)
{
    if (!m_armed) {
        m_armed = true;
        return false;
    }
    if (m_opensSite)
        OpenUrl(ctx, m_target, kOpenWaitMs);
    else
        OpenDocument(ctx, m_target, kOpenWaitMs);
    m_armed = false;
    return true;
}

} // namespace kesmaro
