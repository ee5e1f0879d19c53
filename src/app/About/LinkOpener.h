#pragma once

#include <QUrl>

namespace corvadel::app {

// The platform's open action for a web or mail link: a web address opens in
// the default browser, a mail link in the default mail program. Returns
// whether the platform could open it.
class LinkOpener
{
public:
    virtual ~LinkOpener() = default;
    virtual bool open(const QUrl &url) = 0;
};

// The real one, through the desktop services.
class DesktopLinkOpener : public LinkOpener
{
public:
    bool open(const QUrl &url) override;
};

} // namespace corvadel::app
