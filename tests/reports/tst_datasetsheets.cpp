// Sheets over the data module's own datasets on a real server: a list of
// people with each person's skills nested under them, read through the
// dataset adapter, leaves the windows' current records where they were.

#include "PdfProbe.h"
#include "data/ScriptedPrompt.h"
#include "support/TestDatabase.h"

#include "data/DataModule.h"
#include "data/fb/Script.h"
#include "records/Personnel/PersonnelDataSets.h"
#include "records/Skill/SkillDataSets.h"
#include "reports/DatasetRecordSource.h"
#include "reports/PrintUi.h"
#include "reports/Sheet.h"
#include "reports/SheetFrame.h"

#include <QTemporaryDir>
#include <QTest>

using namespace corvadel;
using namespace corvadel::reports;

class TestDatasetSheets : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { CORVADEL_REQUIRE_SERVER(); }
    void peopleWithTheirSkills();
};

void TestDatasetSheets::peopleWithTheirSkills()
{
    auto db = test::TestDatabase::withSchema();
    // Three people, each holding skills of their own; RTF notes for one.
    fb::executeScript(db.attachment(), QStringLiteral(R"(
insert into PERSONNEL (PERSONNEL_ID, PERSON_NAME, TITLE, FORENAME_FIRST, SURNAME, NOTES) values (1, 'Dr. Ann Lee ', 'Dr.', 'Ann', 'Lee', '{\rtf1\ansi Ann \b notes\b0\par}');
insert into PERSONNEL (PERSONNEL_ID, PERSON_NAME, TITLE, FORENAME_FIRST, SURNAME) values (2, 'Mr. Bob Ray ', 'Mr.', 'Bob', 'Ray');
insert into PERSONNEL (PERSONNEL_ID, PERSON_NAME, TITLE, FORENAME_FIRST, SURNAME) values (3, 'Ms. Cy Fox ', 'Ms.', 'Cy', 'Fox');
insert into SKILL values (11, 'AnnSkillOne', 'O/S');
insert into SKILL values (12, 'AnnSkillTwo', 'O/S');
insert into SKILL values (21, 'BobSkill', 'O/S');
insert into PERSON_SKILL (PERSONNEL_ID, SKILL_ID) values (1, 11);
insert into PERSON_SKILL (PERSONNEL_ID, SKILL_ID) values (1, 12);
insert into PERSON_SKILL (PERSONNEL_ID, SKILL_ID) values (2, 21);
commit;
)"));
    test::ScriptedPrompt prompt;
    data::TDModBase module({db.connectionString(), test::TestDatabase::adminUser(),
                            test::TestDatabase::adminPassword(), test::TestDatabase::serverHost()},
                           prompt);
    module.addDataSet(records::skillDataSet());
    module.addDataSet(records::personnelDataSet());
    module.addDataSet(records::personSkillDataSet());
    module.connectDatabase();
    module.OpenAllDataSets();
    data::Dataset *people = module.dataSet(QStringLiteral("IBDSPersonnel"));
    data::Dataset *skills = module.dataSet(QStringLiteral("IBDSPersonSkill"));
    // The user stands on Ann's second skill.
    QVERIFY(people->locate(QStringLiteral("PERSONNEL_ID"), 1));
    QVERIFY(skills->locate(QStringLiteral("SKILL_ID"), 12));

    DatasetRecordSource peopleSource(*people);
    DatasetRecordSource skillSource(*skills);
    Sheet sheet;
    Pipeline &main = sheet.addPipeline(peopleSource);
    sheet.setMainPipeline(&main);
    Pipeline &skillPipe = sheet.addPipeline(skillSource);
    skillPipe.setMaster(&main);
    SheetFrame frame(sheet, QStringLiteral("Person"));
    Band &detail = sheet.detail();
    detail.add<DataText>(QRectF(0, 0, 80, 6), main, QStringLiteral("PERSON_NAME"));
    SubSheet &list = detail.add<SubSheet>(QRectF(5, 7, 150, 6), &skillPipe);
    list.detail().setHeight(5);
    list.detail().add<DataText>(QRectF(0, 0, 80, 5), skillPipe, QStringLiteral("SKILL_DESCRIPTION"));
    auto &notes = detail.add<DataRichText>(QRectF(0, 14, 150, 5), main, QStringLiteral("NOTES"));
    notes.stackBelow(list);

    QTemporaryDir dir;
    auto ui = std::make_shared<HeadlessPrintUi>();
    const QString pdf = dir.filePath(QStringLiteral("people.pdf"));
    ui->setOutputFile(pdf);
    sheet.setPrintUi(ui);
    sheet.setDevice(Device::Printer);
    const RunOutcome outcome = sheet.print();
    QCOMPARE(outcome.status, RunOutcome::Status::Printed);

    // Each skill line stands under its own person, and only there.
    QString person;
    QStringList seen;
    for (const pdfprobe::Word &word : pdfprobe::words(pdf)) {
        if (word.text == QStringLiteral("Ann") || word.text == QStringLiteral("Bob") || word.text == QStringLiteral("Cy"))
            person = word.text;
        if (word.text.endsWith(QStringLiteral("Skill")) || word.text.contains(QStringLiteral("SkillO"))
            || word.text.contains(QStringLiteral("SkillT"))) {
            QVERIFY2(word.text.startsWith(person), qPrintable(word.text + QStringLiteral(" under ") + person));
            seen << word.text;
        }
    }
    seen.sort();
    QCOMPARE(seen, (QStringList{QStringLiteral("AnnSkillOne"), QStringLiteral("AnnSkillTwo"), QStringLiteral("BobSkill")}));
    const QString text = pdfprobe::text(pdf);
    QVERIFY2(text.contains(QStringLiteral("Ann notes")), qPrintable(text));
    QVERIFY(!text.contains(QStringLiteral("rtf1")));
    QVERIFY(text.contains(QStringLiteral("Page 1 of 1")));

    // The windows' records are where the user left them.
    QCOMPARE(people->fieldByName(QStringLiteral("PERSONNEL_ID"))->asInteger(), 1);
    QCOMPARE(skills->recordCount(), 2);
    QCOMPARE(skills->fieldByName(QStringLiteral("SKILL_ID"))->asInteger(), 12);
}

QTEST_MAIN(TestDatasetSheets)
#include "tst_datasetsheets.moc"
