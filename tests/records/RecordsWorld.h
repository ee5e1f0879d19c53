#pragma once

// A database with every dataset of the data module opened on it, and a small
// project already in it: two people in two roles of the project "Apollo", a
// third role the project does not staff yet, a product type, two products,
// two issues, a change request and a quality review. Keys are fixed (900000
// and up, far above what the unique-key procedure hands out in a test), so
// tests can name them.

#include "../data/ScriptedPrompt.h"
#include "support/TestDatabase.h"

#include "data/DataModule.h"
#include "data/fb/Script.h"
#include "data/fb/Statement.h"
#include "data/fb/Transaction.h"
#include "records/DataSets.h"

#include <memory>

namespace corvadel::test {

namespace key {
constexpr int Project = 900001;
constexpr int OtherProject = 900002;
constexpr int Ann = 900011;       // "Dr. Ann Lee ", current Test Lead
constexpr int Tom = 900012;       // "Mr. Tom Hill ", current Test Analyst
constexpr int TestLead = 900021;  // staffed at 250 a day
constexpr int TestAnalyst = 900022; // staffed at 400 a day
constexpr int TestManager = 900023; // a role the project does not staff
constexpr int ProductType = 900031;
constexpr int Product = 900041;
constexpr int OtherProduct = 900042;
constexpr int Issue = 900051;     // number 1 in the project
constexpr int OtherIssue = 900052; // number 2
constexpr int ChangeRequest = 900061;
constexpr int QualityReview = 900071;
} // namespace key

inline const char *worldSeed()
{
    return R"(
insert into PROJECT (PRJ_ID, PRJ_NAME, START_DATE, PRJ_STATUS) values (900001, 'Apollo', current_date, 'In Progress');
insert into PERSONNEL (PERSONNEL_ID, PERSON_NAME, TITLE, FORENAME_FIRST, SURNAME, EMAIL_ADDR)
  values (900011, 'Dr. Ann Lee ', 'Dr.', 'Ann', 'Lee', 'ann@example.org');
insert into PERSONNEL (PERSONNEL_ID, PERSON_NAME, TITLE, FORENAME_FIRST, SURNAME, EMAIL_ADDR)
  values (900012, 'Mr. Tom Hill ', 'Mr.', 'Tom', 'Hill', 'tom@example.org');
insert into ROLES values (900021, 'Test Lead', 'Yes', 'No', 'No', 'Yes');
insert into ROLES values (900022, 'Test Analyst', 'Yes', 'No', 'No', 'No');
insert into ROLES values (900023, 'Test Manager', 'No', 'Yes', 'No', 'No');
insert into PROJECT_ROLE (PRJ_ID, ROLE_ID, DAILY_RATE) values (900001, 900021, 250);
insert into PROJECT_ROLE (PRJ_ID, ROLE_ID, DAILY_RATE) values (900001, 900022, 400);
insert into PROJECT_ROLE_PERSON (PRJ_ID, ROLE_ID, PERSONNEL_ID) values (900001, 900021, 900011);
insert into PROJECT_ROLE_PERSON (PRJ_ID, ROLE_ID, PERSONNEL_ID) values (900001, 900022, 900012);
insert into PRODUCT_TYPE values (900031, 'Test Spec', 'Formal');
insert into PRODUCT (PRODUCT_ID, PRODUCT_DESCRIPTION, PRODUCT_TYPE_ID, PRJ_ID) values (900041, 'Master Plan', 900031, 900001);
insert into PRODUCT (PRODUCT_ID, PRODUCT_DESCRIPTION, PRODUCT_TYPE_ID, PRJ_ID) values (900042, 'Second Product', 900031, 900001);
insert into ISSUE (ISSUE_ID, ISSUE_TYPE, ISSUE_DESCRIPTION, DATE_RAISED, PRJ_ID, RAISED_BY_ROLE_ID, RAISED_BY_PERSONNEL_ID, ISSUE_STATUS)
  values (900051, 'Issue', 'Slow build', current_date, 900001, 900021, 900011, 'Open');
insert into ISSUE (ISSUE_ID, ISSUE_TYPE, ISSUE_DESCRIPTION, DATE_RAISED, PRJ_ID, RAISED_BY_ROLE_ID, RAISED_BY_PERSONNEL_ID, ISSUE_STATUS)
  values (900052, 'Issue', 'Flaky tests', current_date, 900001, 900021, 900011, 'Open');
insert into CHANGE_REQUEST (CR_ID, CR_DESCRIPTION, DATE_RAISED, PRJ_ID, RAISED_BY_ROLE_ID, RAISED_BY_PERSONNEL_ID, CR_STATUS)
  values (900061, 'Faster build', current_date, 900001, 900021, 900011, 'Awaiting Review');
insert into QUALITY_REVIEW (QR_ID, PRJ_ID, PRODUCT_ID, SCHEDULED_REVIEW_DATE) values (900071, 900001, 900041, '2026-01-10');
commit;
)";
}

inline int scalar(fb::Attachment &att, const QString &sql)
{
    fb::Transaction t(att);
    t.start();
    fb::Statement s(att, t, sql);
    s.openCursor(t);
    const int v = s.fetch() ? s.value(0).toInt() : -1;
    s.closeCursor();
    t.commit();
    return v;
}

inline void exec(fb::Attachment &att, const QString &sql)
{
    fb::Transaction t(att);
    t.start();
    fb::Statement s(att, t, sql);
    s.execute(t);
    t.commit();
}

inline data::ConnectionSettings settingsFor(const TestDatabase &db)
{
    return {db.connectionString(), TestDatabase::adminUser(), TestDatabase::adminPassword(),
            TestDatabase::serverHost()};
}

struct World
{
    explicit World(const QString &extraSeed = {}) : db(TestDatabase::withSchema())
    {
        fb::executeScript(db.attachment(), QString::fromLatin1(worldSeed()) + extraSeed);
        module = std::make_unique<data::TDModBase>(settingsFor(db), prompt);
        records::addAllDataSets(*module);
        module->connectDatabase();
        module->OpenAllDataSets();
    }

    data::Dataset &ds(const QString &name) const
    {
        data::Dataset *d = module->dataSet(name);
        if (!d)
            throw std::runtime_error("no dataset " + name.toStdString());
        return *d;
    }
    data::Field &field(const QString &dataSet, const QString &name) const { return *ds(dataSet).fieldByName(name); }

    TestDatabase db;
    ScriptedPrompt prompt;
    std::unique_ptr<data::TDModBase> module;   // goes before the database
};

} // namespace corvadel::test
