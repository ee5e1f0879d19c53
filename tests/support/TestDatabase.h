#pragma once

#include "data/fb/Attachment.h"

#include <QString>

#include <QTest>

namespace corvadel::test {

// A fresh database on the local server for one test (or one test class),
// created under a unique name as the server administrator and dropped when
// the object goes, also when the test fails. Attachments a test opens itself
// must be gone before then, or the drop fails (reported as a warning).
class TestDatabase
{
public:
    // Creates an empty database; runs the script in schemaFile on it if given.
    explicit TestDatabase(const QString &schemaFile = QString());
    // A database with the program's own schema (src/data/schema.sql).
    static TestDatabase withSchema();

    ~TestDatabase();
    TestDatabase(TestDatabase &&) noexcept = default;
    TestDatabase &operator=(TestDatabase &&) = delete;
    TestDatabase(const TestDatabase &) = delete;
    TestDatabase &operator=(const TestDatabase &) = delete;

    // "localhost:/tmp/corvadel-test-....fdb"
    QString connectionString() const { return m_connectionString; }

    // The fixture's own attachment, as the administrator.
    fb::Attachment &attachment() { return m_attachment; }

    // A further attachment to the database, as the administrator.
    fb::Attachment connect() const;

    static QString adminUser();
    static QString adminPassword();
    static QString serverHost();

    // Drops the test databases of test processes that no longer run. A test
    // function that throws makes Qt Test abort the whole process, so its
    // fixtures never drop their databases; the next fixture clears them up.
    // A database that is still attached is left alone (the server refuses).
    static void dropLeftovers();

    // Whether the server answers and accepts the administrator; checked once
    // per process. unavailableReason() says why not.
    static bool serverAvailable();
    static QString unavailableReason();

private:
    QString m_connectionString;
    fb::Attachment m_attachment;
};

} // namespace corvadel::test

// Skips the calling test (all of them, in initTestCase) with the reason
// when the database server cannot be used: a test that could not run must
// not pass.
#define CORVADEL_REQUIRE_SERVER()                                                                  \
    do {                                                                                           \
        if (!corvadel::test::TestDatabase::serverAvailable())                                      \
            QSKIP(qPrintable(QStringLiteral("database server unavailable: ")                       \
                             + corvadel::test::TestDatabase::unavailableReason()));                \
    } while (false)
