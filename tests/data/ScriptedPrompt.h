#pragma once

#include "data/Prompt.h"

#include <QStringList>

#include <deque>

namespace corvadel::test {

// Answers the record rules' questions from a script and keeps what was asked,
// so headless tests can check the exact texts a user would have seen.
class ScriptedPrompt : public data::Prompt
{
public:
    void warning(const QString &text) override { warnings << text; }

    bool confirm(const QString &text) override
    {
        confirmations << text;
        if (answers.empty())
            return false; // an unscripted question is answered No, like Esc
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }

    void answer(bool yes) { answers.push_back(yes); }

    QStringList warnings;
    QStringList confirmations;
    std::deque<bool> answers;
};

} // namespace corvadel::test
