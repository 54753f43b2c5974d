#pragma once

#include "state/Context.h"

#include <string>
#include <string_view>

namespace kesmaro {

// The version window's support link: the first click arms it, the second opens its target and
// disarms it, so a stray click never starts a browser. The target is the site this build was
// given (the build setting KESMARO_SUPPORT_URL); a build without one opens the quick-start
// document instead, so that the second click always leads somewhere real.
class SupportLink {
public:
    static std::string Name();
    // The build's support site; empty when it has none.
    static std::string SiteAddress();

    explicit SupportLink(std::string_view documentFolder, std::string_view site = SiteAddress());

    // The site, or the quick-start document in the document folder.
    const std::string& target() const { return m_target; }
    bool armed() const { return m_armed; }
    // True when this click opened the target.
    bool Click(Context& ctx);

private:
    std::string m_target;
    bool m_opensSite;
    bool m_armed = false;
};

} // namespace kesmaro
