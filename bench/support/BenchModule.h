#pragma once

#include "data/DataModule.h"
#include "support/BenchSupport.h"

namespace corvadel::bench {

// The program's data module with every dataset and query, on a bench
// database: what the benchmarks drive instead of a window.
class BenchModule
{
public:
    explicit BenchModule(const QString &database);

    data::TDModBase &module() { return m_module; }
    data::Dataset &dataSet(const QString &name);
    data::Dataset &issues() { return dataSet(QStringLiteral("IBDSIssue")); }

    // Connects as the server administrator, starts the Project transaction
    // and opens the project list on the large project, leaving every other
    // dataset closed.
    void openLargeProject();
    int largeProjectId();

    AnsweringPrompt prompt;

private:
    data::TDModBase m_module;
};

} // namespace corvadel::bench
