#include "records/SupportLink.h"

#include "common/Paths.h"
#include "records/Documents.h"

namespace kesmaro {

namespace {

constexpr int kOpenWaitMs = 500;

// Blanks and line ends a build setting or a pasted address may carry around it.
std::string_view trimmed(std::string_view text)
{
    constexpr std::string_view kBlanks = " \t\n\v\f\r";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

} // namespace

std::string SupportLink::Name()
{
    return "Kesmaro サポートページ";
}

std::string SupportLink::SiteAddress()
{
    return std::string(trimmed(KESMARO_SUPPORT_URL));
}

SupportLink::SupportLink(std::string_view documentFolder, std::string_view site)
    : m_target(trimmed(site)), m_opensSite(!m_target.empty())
{
    if (!m_opensSite)
        m_target = JoinPath(documentFolder, kQuickReferenceDocument);
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
