#pragma once

#include "state/Context.h"

#include <QString>

namespace kesmaro {

// The version window's support-site link: the first click arms it, the second opens the site
// and disarms it, so a stray click never starts a browser.
class SupportLink {
public:
    static QString Name();
    static QString Address();

    bool armed() const { return m_armed; }
    // True when this click opened the site.
    bool Click(Context& ctx);

private:
    bool m_armed = false;
};

} // namespace kesmaro
