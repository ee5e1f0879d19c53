#pragma once

#include "data/Prompt.h"

class QWidget;

namespace corvadel::app {

// The record rules' questions as real message boxes, over whichever window
// is active: a warning with an OK button, a confirmation as a warning with
// Yes and No where Esc answers No.
class MessagePrompt : public data::Prompt
{
public:
    void warning(const QString &text) override;
    bool confirm(const QString &text) override;

    // The object names the boxes carry, so that tooling can find them.
    static constexpr const char *WarningName = "RecordWarning";
    static constexpr const char *ConfirmName = "RecordConfirmation";
};

} // namespace corvadel::app
