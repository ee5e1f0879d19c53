#pragma once

#include <QString>

namespace corvadel::data {

// How the record rules ask the user: the application answers with real
// message boxes, headless tests with scripted answers. The data layer itself
// never shows a window.
class Prompt
{
public:
    virtual ~Prompt() = default;
    // A warning with an OK button.
    virtual void warning(const QString &text) = 0;
    // A warning with Yes and No buttons; true for Yes (Esc answers No).
    virtual bool confirm(const QString &text) = 0;
};

} // namespace corvadel::data
