#include "seed/Seeder.h"

#include "data/fb/Script.h"
#include "data/fb/Statement.h"
#include "data/fb/Transaction.h"
#include "support/BenchSupport.h"

#include <functional>

namespace corvadel::bench {

namespace {

// Rows per EXECUTE BLOCK, each block committed on its own: big enough that
// round trips do not count, small enough that no transaction grows huge.
constexpr int ChunkRows = 10000;

// Multiplier that spreads assignments over the register: coprime with the
// number of people, so distinct assignments get distinct people.
constexpr int Spread = 7919;

const QStringList ExtraRoles = {
    QStringLiteral("Configuration Librarian"), QStringLiteral("Change Authority"),
    QStringLiteral("Technical Architect"), QStringLiteral("Solution Architect"), QStringLiteral("Data Architect"),
    QStringLiteral("Security Officer"), QStringLiteral("Infrastructure Engineer"),
    QStringLiteral("Network Engineer"), QStringLiteral("Database Administrator"),
    QStringLiteral("Release Manager"), QStringLiteral("Service Manager"), QStringLiteral("Operations Analyst"),
    QStringLiteral("Trainer"), QStringLiteral("Technical Author"), QStringLiteral("Procurement Officer"),
    QStringLiteral("Finance Officer"), QStringLiteral("Legal Adviser"), QStringLiteral("Communications Lead"),
    QStringLiteral("Interaction Designer"), QStringLiteral("Front-end Developer"),
    QStringLiteral("Back-end Developer"), QStringLiteral("Integration Specialist"),
    QStringLiteral("Performance Tester"), QStringLiteral("Test Manager"), QStringLiteral("Test Analyst"),
    QStringLiteral("Product Owner"), QStringLiteral("Delivery Lead"), QStringLiteral("Programme Manager"),
    QStringLiteral("Portfolio Analyst"), QStringLiteral("Project Office Analyst"), QStringLiteral("Risk Manager"),
    QStringLiteral("Benefits Manager"), QStringLiteral("Supplier Manager"), QStringLiteral("Site Engineer"),
    QStringLiteral("Field Technician"), QStringLiteral("Data Migration Lead"), QStringLiteral("Support Analyst"),
    QStringLiteral("Change Manager"), QStringLiteral("Stakeholder Manager"), QStringLiteral("Safety Assessor"),
    QStringLiteral("Systems Integrator"), QStringLiteral("Commissioning Engineer"),
};

const QStringList SmallProjects = {
    QStringLiteral("Depot Lighting Renewal"), QStringLiteral("Ticket Office Refit"),
    QStringLiteral("Timetable Planning Tool"), QStringLiteral("Staff Rostering Upgrade"),
    QStringLiteral("Station Wi-Fi Rollout"), QStringLiteral("Asset Register Cleanse"),
    QStringLiteral("Payroll Interface"), QStringLiteral("Customer Information Screens"),
    QStringLiteral("Level Crossing Survey"), QStringLiteral("Drainage Works North"),
    QStringLiteral("Fleet Telemetry Pilot"), QStringLiteral("Archive Digitisation"),
    QStringLiteral("Control Room Move"), QStringLiteral("Security Camera Upgrade"),
    QStringLiteral("Bridge Inspection Backlog"), QStringLiteral("Energy Metering"),
};

// A SQL string literal.
QString quoted(const QString &text)
{
    QString escaped = text;
    escaped.replace(u'\'', QStringLiteral("''"));
    return u'\'' + escaped + u'\'';
}

// decode(<selector>, 0, v0, 1, v1, ..., vLast): one of the values, picked by
// a selector in 0..n-1.
QString pick(const QString &selector, const QStringList &values)
{
    if (values.size() == 1)
        return values.front();
    QString sql = QStringLiteral("decode(") + selector;
    for (int i = 0; i + 1 < values.size(); ++i)
        sql += QStringLiteral(", %1, %2").arg(i).arg(values[i]);
    return sql + QStringLiteral(", ") + values.back() + u')';
}

QString pickText(const QString &selector, const QStringList &texts)
{
    QStringList literals;
    for (const QString &t : texts)
        literals << quoted(t);
    return pick(selector, literals);
}

QString pickNumber(const QString &selector, const std::vector<int> &numbers)
{
    QStringList literals;
    for (int n : numbers)
        literals << QString::number(n);
    return pick(selector, literals);
}

// Rich text as the editors store it: a font table, a few paragraphs.
QString rtf(const QString &body)
{
    return QStringLiteral("'{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}"
                          "\\viewkind4\\uc1\\pard\\f0\\fs20 ' || ")
        + body + QStringLiteral(" || '\\par }'");
}

const QStringList IssueSubjects = {
    QStringLiteral("Supplier has not confirmed the delivery date for the cabinets"),
    QStringLiteral("Test environment unavailable for the integration run"),
    QStringLiteral("Drawing set differs from the surveyed layout"),
    QStringLiteral("Access permit for the weekend possession refused"),
    QStringLiteral("Interface document missing the fault codes"),
    QStringLiteral("Budget line for cabling exceeded"),
    QStringLiteral("Training material not ready for the pilot users"),
    QStringLiteral("Power supply rating queried by the site engineer"),
    QStringLiteral("Software release fails the regression pack"),
    QStringLiteral("Key stakeholder asks for a change of scope"),
    QStringLiteral("Resource clash with the depot project"),
    QStringLiteral("Legacy data does not match the asset register"),
    QStringLiteral("Acceptance criteria unclear for the migration"),
    QStringLiteral("Safety case comments still open"),
    QStringLiteral("Spare parts list incomplete"),
    QStringLiteral("Contract variation awaiting signature"),
};

const QStringList Findings = {
    QStringLiteral("The team reviewed the evidence on site and agreed that the current plan cannot absorb the delay "
                   "without moving the commissioning window."),
    QStringLiteral("Two options were discussed with the supplier: a partial delivery next month or a full delivery "
                   "after the holiday period."),
    QStringLiteral("The impact on the critical path is estimated at five to eight working days, subject to "
                   "confirmation by the planner."),
    QStringLiteral("Earlier releases passed the same checks, so the change is thought to come from the new "
                   "configuration files."),
    QStringLiteral("The board asked for a written assessment of cost, time and quality before it decides."),
    QStringLiteral("Similar problems were seen on the southern section and were closed by a minor design change."),
};

const QStringList NextSteps = {
    QStringLiteral("chase the supplier and report back at the weekly progress meeting."),
    QStringLiteral("raise a change request if the assessment shows a cost above tolerance."),
    QStringLiteral("book a follow-up review with the design authority."),
    QStringLiteral("update the plan and circulate it to the project board."),
    QStringLiteral("run the failing tests again on the corrected build."),
};

const QStringList Resolutions = {
    QStringLiteral("Resolved by the supplier; new delivery date accepted by the board."),
    QStringLiteral("Closed after the corrected build passed the full regression pack."),
    QStringLiteral("Accepted as a risk and transferred to the risk log."),
    QStringLiteral("Withdrawn by the originator after clarification."),
};

const QStringList RiskSubjects = {
    QStringLiteral("Late delivery of long-lead equipment"), QStringLiteral("Loss of key design staff"),
    QStringLiteral("Possession overrun on a weekend closure"), QStringLiteral("Unexpected ground conditions"),
    QStringLiteral("Software supplier insolvency"), QStringLiteral("Change of standards during the works"),
    QStringLiteral("Insufficient test coverage of interfaces"), QStringLiteral("Stakeholder objection to the route"),
    QStringLiteral("Cost inflation of materials"), QStringLiteral("Data migration errors at cut-over"),
};

} // namespace

Seeder::Seeder(fb::Attachment &attachment, const SeedPlan &plan) : m_db(attachment), m_plan(plan) {}

void Seeder::step(const QString &what, const std::function<void()> &work)
{
    Stopwatch watch;
    work();
    note(QStringLiteral("  %1: %2 s").arg(what).arg(watch.seconds(), 0, 'f', 1));
}

void Seeder::script(const QString &sql)
{
    fb::executeScript(m_db, sql);
}

std::vector<int> Seeder::ids(const QString &select)
{
    fb::Transaction transaction(m_db);
    transaction.start();
    fb::Statement statement(m_db, transaction, select);
    statement.openCursor(transaction);
    std::vector<int> out;
    while (statement.fetch())
        out.push_back(statement.value(0).toInt());
    transaction.commit();
    return out;
}

int Seeder::reserveIds(int count)
{
    const std::vector<int> last =
        ids(QStringLiteral("select gen_id(GEN_UNIQUE_ID, %1) from RDB$DATABASE").arg(count));
    return last.front() - count + 1;
}

QString Seeder::roleExpression(const Project &project, const QString &slot) const
{
    return pickNumber(slot, project.roleIds);
}

QString Seeder::personExpression(const Project &project, const QString &slot, const QString &seat) const
{
    // The assignment's number across all projects, spread over the register:
    // the same person the project's role assignments hold.
    return QStringLiteral("(%1 + mod((%2 + (%3) * %4 + (%5)) * %6, %7))")
        .arg(m_personBase)
        .arg(project.assignmentBase)
        .arg(slot)
        .arg(project.seats)
        .arg(seat)
        .arg(Spread)
        .arg(m_plan.people);
}

void Seeder::run()
{
    step(QStringLiteral("roles"), [this] { addRoles(); });
    step(QStringLiteral("people"), [this] { addPeople(); });
    step(QStringLiteral("skills of people"), [this] { addSkills(); });
    step(QStringLiteral("system users"), [this] { addUsers(); });
    step(QStringLiteral("projects, roles, assignments, products"), [this] { addProjects(); });
    for (const Project &p : m_projects) {
        const QString label = p.index == 0 ? QStringLiteral("large project") : QStringLiteral("project %1").arg(p.index);
        step(label + QStringLiteral(": %1 issues").arg(p.issues), [&] { addIssues(p); });
        step(label + QStringLiteral(": %1 risks").arg(p.risks), [&] { addRisks(p); });
        step(label + QStringLiteral(": change requests and reviews"), [&] {
            addChangeRequests(p);
            addReviews(p);
        });
    }
    step(QStringLiteral("index statistics"), [this] { updateStatistics(); });
}

void Seeder::addRoles()
{
    const int existing = int(ids(QStringLiteral("select ROLE_ID from ROLES")).size());
    QString sql;
    for (int i = 0; existing + i < m_plan.roles && i < ExtraRoles.size(); ++i) {
        const QString flags[] = {QStringLiteral("'No'"), QStringLiteral("'Yes'")};
        sql += QStringLiteral("insert into ROLES values (gen_id(GEN_UNIQUE_ID, 1), %1, %2, %3, %4, %5);\n")
                   .arg(quoted(ExtraRoles[i]), flags[i % 5 == 0], flags[i % 3 == 0], flags[i % 4 == 1],
                        flags[i % 2 == 0]);
    }
    script(sql);
    m_roleIds = ids(QStringLiteral("select ROLE_ID from ROLES order by ROLE_ID"));
    m_productTypeIds = ids(QStringLiteral("select PRODUCT_TYPE_ID from PRODUCT_TYPE order by PRODUCT_TYPE_ID"));
}

void Seeder::addPeople()
{
    m_personBase = reserveIds(m_plan.people);
    const QStringList titles = {QStringLiteral("Mr."), QStringLiteral("Mrs."), QStringLiteral("Ms."),
                                QStringLiteral("Miss."), QStringLiteral("Dr."), QStringLiteral("Prof.")};
    const QStringList forenames = {
        QStringLiteral("James"), QStringLiteral("Mary"), QStringLiteral("Robert"), QStringLiteral("Patricia"),
        QStringLiteral("John"), QStringLiteral("Jennifer"), QStringLiteral("Michael"), QStringLiteral("Linda"),
        QStringLiteral("David"), QStringLiteral("Elizabeth"), QStringLiteral("William"), QStringLiteral("Susan"),
        QStringLiteral("Richard"), QStringLiteral("Jessica"), QStringLiteral("Thomas"), QStringLiteral("Sarah"),
        QStringLiteral("Charles"), QStringLiteral("Karen"), QStringLiteral("Daniel"), QStringLiteral("Nancy"),
        QStringLiteral("Matthew"), QStringLiteral("Lisa"), QStringLiteral("Anthony"), QStringLiteral("Margaret"),
        QStringLiteral("Mark"), QStringLiteral("Sandra"), QStringLiteral("Paul"), QStringLiteral("Ashley"),
        QStringLiteral("Steven"), QStringLiteral("Emily"), QStringLiteral("Andrew"), QStringLiteral("Donna"),
        QStringLiteral("Joshua"), QStringLiteral("Michelle"), QStringLiteral("Kenneth"), QStringLiteral("Carol"),
        QStringLiteral("Kevin"), QStringLiteral("Amanda"), QStringLiteral("Brian"), QStringLiteral("Melissa")};
    const QStringList surnames = {
        QStringLiteral("Smith"), QStringLiteral("Jones"), QStringLiteral("Taylor"), QStringLiteral("Brown"),
        QStringLiteral("Williams"), QStringLiteral("Wilson"), QStringLiteral("Johnson"), QStringLiteral("Davies"),
        QStringLiteral("Robinson"), QStringLiteral("Wright"), QStringLiteral("Thompson"), QStringLiteral("Evans"),
        QStringLiteral("Walker"), QStringLiteral("White"), QStringLiteral("Roberts"), QStringLiteral("Green"),
        QStringLiteral("Hall"), QStringLiteral("Wood"), QStringLiteral("Jackson"), QStringLiteral("Clarke"),
        QStringLiteral("Patel"), QStringLiteral("Khan"), QStringLiteral("Lewis"), QStringLiteral("James"),
        QStringLiteral("Hughes"), QStringLiteral("Edwards"), QStringLiteral("Hill"), QStringLiteral("Moore"),
        QStringLiteral("Ward"), QStringLiteral("Turner"), QStringLiteral("Cooper"), QStringLiteral("Parker"),
        QStringLiteral("Morris"), QStringLiteral("Harris"), QStringLiteral("Martin"), QStringLiteral("King"),
        QStringLiteral("Lee"), QStringLiteral("Allen"), QStringLiteral("Baker"), QStringLiteral("Young"),
        QStringLiteral("Carter"), QStringLiteral("Phillips"), QStringLiteral("Mitchell"), QStringLiteral("Bell"),
        QStringLiteral("Shaw"), QStringLiteral("Lloyd"), QStringLiteral("Price"), QStringLiteral("Bennett"),
        QStringLiteral("Griffiths"), QStringLiteral("Kelly")};
    const QStringList departments = {
        QStringLiteral("Project Office"), QStringLiteral("Development"), QStringLiteral("Support"),
        QStringLiteral("Mangement Team"), QStringLiteral("Senior Management Team"), QStringLiteral("Project Board"),
        QStringLiteral("IT Executive"), QStringLiteral("Board of Directors")};
    const int combinations = int(forenames.size() * surnames.size());

    // The suffix tells apart the people whose title, forename and surname
    // repeat; the name is composed as the personnel window composes it.
    const QString title = pickText(QStringLiteral("mod(:I, 6)"), titles);
    const QString forename = pickText(QStringLiteral("mod(:I, %1)").arg(forenames.size()), forenames);
    const QString second = pickText(QStringLiteral("mod(:I / 7, %1)").arg(forenames.size()), forenames);
    const QString surname = pickText(QStringLiteral("mod(:I / %1, %2)").arg(forenames.size()).arg(surnames.size()),
                                     surnames);
    const QString sql = QStringLiteral(R"(
set term ^ ;
execute block as
  declare I integer = 0;
  declare T varchar(20);
  declare F varchar(40);
  declare F2 varchar(40);
  declare S varchar(40);
  declare X varchar(40);
begin
  while (:I < %1) do
  begin
    T = %2;
    F = %3;
    F2 = case when mod(:I, 3) = 0 then null else %4 end;
    S = %5;
    X = decode(:I / %6, 0, '', 1, 'Jnr.', 2, 'Snr.', 'III');
    insert into PERSONNEL (PERSONNEL_ID, PERSON_NAME, TITLE, FORENAME_FIRST, FORENAME_SECOND, SURNAME, INITIALS,
      NAME_SUFFIX, APPOINTMENT, DEPARTMENT, TEL_NBR, MOBILE_NBR, EMAIL_ADDR, NOTES)
    values (%7 + :I, substring(:T || ' ' || :F || ' ' || :S || ' ' || :X from 1 for 80), :T, :F, :F2, :S,
      substring(:F from 1 for 1) || ' ' || coalesce(substring(:F2 from 1 for 1), ''),
      nullif(:X, ''), %8, %9, '01632 ' || lpad(:I, 6, '0'), '07700 ' || lpad(:I, 6, '0'),
      substring(lower(:F) || '.' || lower(:S) || :I || '@example.org' from 1 for 40),
      case when mod(:I, 4) = 0 then 'Joined from the regional office. Prefers morning meetings.' else null end);
    I = I + 1;
  end
end^
set term ; ^
)")
                            .arg(m_plan.people)
                            .arg(title, forename, second, surname)
                            .arg(combinations)
                            .arg(m_personBase)
                            .arg(pickText(QStringLiteral("mod(:I, 5)"),
                                          {QStringLiteral("Engineer"), QStringLiteral("Analyst"),
                                           QStringLiteral("Manager"), QStringLiteral("Consultant"),
                                           QStringLiteral("Coordinator")}),
                                 pickText(QStringLiteral("mod(:I / 3, 8)"), departments));
    script(sql);
}

void Seeder::addSkills()
{
    const std::vector<int> skills = ids(QStringLiteral("select SKILL_ID from SKILL order by SKILL_ID"));
    const int n = int(skills.size());
    // Person I holds mod(I, 3) skills, distinct because 5 * K differs mod n.
    script(QStringLiteral(R"(
set term ^ ;
execute block as
  declare I integer = 0;
  declare K integer;
begin
  while (:I < %1) do
  begin
    K = 0;
    while (:K < mod(:I, 3)) do
    begin
      insert into PERSON_SKILL (PERSONNEL_ID, SKILL_ID, QUALIFICATION_DATE)
      values (%2 + :I, %3, dateadd(day, -mod(:I * 13, 3000), date '2024-06-01'));
      K = K + 1;
    end
    I = I + 1;
  end
end^
set term ; ^
)")
               .arg(m_plan.people)
               .arg(m_personBase)
               .arg(pickNumber(QStringLiteral("mod(:I + :K * 5, %1)").arg(n), skills)));
}

void Seeder::addUsers()
{
    // The bench login: a server account and its row, counted at each login.
    script(QStringLiteral("create or alter user %1 password '%2' firstname 'Bench' lastname 'User';\n")
               .arg(benchUserName(), benchUserPassword()));
    QString sql = QStringLiteral("insert into SYSTEM_USER (USER_ID, USER_NAME, FORENAME_FIRST, SURNAME, NBR_LOGINS, "
                                 "LAST_LOGIN_DATE, SYSTEMS_MANAGER) values (gen_id(GEN_UNIQUE_ID, 1), %1, 'Bench', "
                                 "'User', 0, null, 'No ');\n")
                      .arg(quoted(benchUserName()));
    for (int i = 1; i < 20; ++i) {
        sql += QStringLiteral("insert into SYSTEM_USER (USER_ID, USER_NAME, FORENAME_FIRST, SURNAME, NBR_LOGINS, "
                              "LAST_LOGIN_DATE, SYSTEMS_MANAGER) values (gen_id(GEN_UNIQUE_ID, 1), 'USER%1', "
                              "'User', 'Number %1', %2, date '2024-05-01', %3);\n")
                   .arg(i, 2, 10, QLatin1Char('0'))
                   .arg(i * 17)
                   .arg(i % 5 == 0 ? QStringLiteral("'Yes'") : QStringLiteral("'No '"));
    }
    script(sql);
}

void Seeder::addProjects()
{
    // The large project is inserted first: the project list has no order of
    // its own, so it comes first and is the active project after login.
    const int count = 1 + m_plan.smallProjects;
    const int firstId = reserveIds(count);
    QString sql;
    for (int i = 0; i < count; ++i) {
        Project p;
        p.id = firstId + i;
        p.index = i;
        const bool large = i == 0;
        p.roleSlots = large ? 30 : 8;
        p.seats = large ? 12 : 4;
        p.issues = large ? m_plan.largeIssues : m_plan.smallIssues;
        p.risks = large ? m_plan.largeRisks : m_plan.smallRisks;
        p.products = large ? 60 : 8;
        p.changeRequests = large ? 300 : 10;
        p.reviews = large ? 40 : 4;
        for (int r = 0; r < p.roleSlots; ++r)
            p.roleIds.push_back(m_roleIds[std::size_t((i * 7 + r) % int(m_roleIds.size()))]);
        m_projects.push_back(p);
        const QString name = large ? largeProjectName() : SmallProjects[(i - 1) % SmallProjects.size()];
        sql += QStringLiteral("insert into PROJECT (PRJ_ID, PRJ_REF, PRJ_NAME, START_DATE, END_DATE, PRJ_STATUS, "
                              "PRJ_CAP_BUDGET, PRJ_REV_BUDGET, PRJ_CAP_SPEND_TO_DATE, PRJ_REV_SPEND_TO_DATE) "
                              "values (%1, 'PRJ-%2', %3, date '%4', %5, %6, %7, %8, %9, %10);\n")
                   .arg(p.id)
                   .arg(1000 + i)
                   .arg(quoted(name))
                   .arg(large ? QStringLiteral("2014-01-06") : QStringLiteral("2022-0%1-01").arg(1 + i % 9))
                   .arg(i % 3 == 2 ? QStringLiteral("date '2024-03-31'") : QStringLiteral("null"))
                   .arg(i % 3 == 2 ? QStringLiteral("'Completed'") : QStringLiteral("'In Progress'"))
                   .arg(large ? 48000000.0 : 250000.0 + i * 1000, 0, 'f', 2)
                   .arg(large ? 2500000.0 : 40000.0, 0, 'f', 2)
                   .arg(large ? 31250000.5 : 120000.25, 0, 'f', 2)
                   .arg(large ? 1800000.75 : 15000.0, 0, 'f', 2);
    }
    script(sql);
    for (Project &p : m_projects) {
        addProjectRoles(p);
        addProducts(p);
    }
}

void Seeder::addProjectRoles(Project &project)
{
    // Assignments are numbered across projects; each project's numbers
    // start where the previous project's ended.
    project.assignmentBase = m_assignmentBase;
    m_assignmentBase += project.roleSlots * project.seats;
    QString sql;
    for (int r = 0; r < project.roleSlots; ++r)
        sql += QStringLiteral("insert into PROJECT_ROLE (PRJ_ID, ROLE_ID, DAILY_RATE) values (%1, %2, %3);\n")
                   .arg(project.id)
                   .arg(project.roleIds[std::size_t(r)])
                   .arg(350 + (r * 37) % 600);
    for (int r = 0; r < project.roleSlots; ++r) {
        for (int s = 0; s < project.seats; ++s) {
            const qint64 assignment = project.assignmentBase + r * project.seats + s;
            const int person = m_personBase + int((assignment * Spread) % m_plan.people);
            // A few assignments have ended: their people are history.
            sql += QStringLiteral("insert into PROJECT_ROLE_PERSON (PRJ_ID, ROLE_ID, PERSONNEL_ID, "
                                  "SCHEDULED_START_DATE, ACTUAL_START_DATE, END_DATE) values (%1, %2, %3, "
                                  "date '2014-02-01', date '2014-02-%4', %5);\n")
                       .arg(project.id)
                       .arg(project.roleIds[std::size_t(r)])
                       .arg(person)
                       .arg(3 + s % 20, 2, 10, QLatin1Char('0'))
                       .arg(s % 11 == 10 ? QStringLiteral("date '2020-12-31'") : QStringLiteral("null"));
        }
    }
    script(sql);
}

void Seeder::addProducts(Project &project)
{
    const QString role = roleExpression(project, QStringLiteral("mod(:P, %1)").arg(project.roleSlots));
    const QString person = personExpression(project, QStringLiteral("mod(:P, %1)").arg(project.roleSlots),
                                            QStringLiteral("0"));
    script(QStringLiteral(R"(
set term ^ ;
execute block as
  declare P integer = 0;
begin
  while (P < %1) do
  begin
    insert into PRODUCT (PRODUCT_ID, PRODUCT_DESCRIPTION, PRODUCT_TYPE_ID, PRJ_ID, ROLE_ID, OWNER_PERSONNEL_ID,
      LOCATION)
    values (gen_id(GEN_UNIQUE_ID, 1), %2 || ' ' || (:P / 8 + 1), %3, %4, %5, %6,
      'Project library, folder ' || (:P + 1));
    P = P + 1;
  end
end^
set term ; ^
)")
               .arg(project.products)
               .arg(pickText(QStringLiteral("mod(:P, 8)"),
                             {QStringLiteral("Project Initiation Document"), QStringLiteral("Business Case"),
                              QStringLiteral("Requirements Specification"), QStringLiteral("Design Document"),
                              QStringLiteral("Test Plan"), QStringLiteral("Source Code"), QStringLiteral("User Guide"),
                              QStringLiteral("Highlight Report")}))
               .arg(pickNumber(QStringLiteral("mod(:P, %1)").arg(m_productTypeIds.size()), m_productTypeIds))
               .arg(project.id)
               .arg(role, person));
    project.productIds = ids(
        QStringLiteral("select PRODUCT_ID from PRODUCT where PRJ_ID = %1 order by PRODUCT_ID").arg(project.id));
}

void Seeder::addIssues(const Project &project)
{
    const int r = project.roleSlots;
    const int s = project.seats;
    const QString slot = QStringLiteral("mod(:I, %1)").arg(r);
    const QString seat = QStringLiteral("mod(:I / %1, %2)").arg(r).arg(s);
    const QString ownerSlot = QStringLiteral("mod(:I * 7 + 3, %1)").arg(r);
    const QString ownerSeat = QStringLiteral("mod(:I / 3, %1)").arg(s);
    // Ten years of issues for the large project, two for the others; the
    // older ones are mostly closed.
    const int days = project.index == 0 ? 3650 : 700;
    const QString detail = rtf(QStringLiteral("'Background: ' || %1 || '.\\par ' || %2 || ' Logged as item ' || :I || "
                                              "' of the project log.\\par\\par\\b Next step:\\b0  ' || %3")
                                   .arg(pickText(QStringLiteral("mod(:I / 16, 16)"), IssueSubjects),
                                        pickText(QStringLiteral("mod(:I, 6)"), Findings),
                                        pickText(QStringLiteral("mod(:I, 5)"), NextSteps)));
    const QString outcome = rtf(pickText(QStringLiteral("mod(:I, 4)"), Resolutions));
    for (int from = 1; from <= project.issues; from += ChunkRows) {
        const int to = std::min(project.issues, from + ChunkRows - 1);
        script(QStringLiteral(R"(
set term ^ ;
execute block as
  declare I integer = %1;
  declare ST varchar(20);
begin
  while (I <= %2) do
  begin
    ST = case when :I <= %3 * 4 / 5 then case when mod(:I, 10) = 0 then 'Suspended' else 'Closed' end
              else case when mod(:I, 3) = 0 then 'Closed' else 'Open' end end;
    insert into ISSUE (ISSUE_ID, ISSUE_NBR, ISSUE_TYPE, ISSUE_DESCRIPTION, ISSUE_DETAILED_DESCRIPTION, DATE_RAISED,
      PRJ_ID, RAISED_BY_ROLE_ID, RAISED_BY_PERSONNEL_ID, OUTCOME, OWNER_ROLE_ID, OWNER_PERSONNEL_ID, ISSUE_STATUS)
    values (gen_id(GEN_UNIQUE_ID, 1), :I,
      decode(mod(:I, 10), 7, 'Query', 8, 'Query', 9, 'Change Request', 'Issue'),
      %4 || ' (ref ' || :I || ')', %5,
      dateadd(day, -((%3 - :I) * %6 / %3), date '2024-06-28'),
      %7, %8, %9,
      case when :ST = 'Closed' then %10 else null end,
      case when mod(:I, 5) = 0 then null else %11 end,
      case when mod(:I, 5) = 0 then null else %12 end,
      :ST);
    I = I + 1;
  end
end^
set term ; ^
)")
                   .arg(from)
                   .arg(to)
                   .arg(project.issues)
                   .arg(pickText(QStringLiteral("mod(:I, 16)"), IssueSubjects), detail)
                   .arg(days)
                   .arg(project.id)
                   .arg(roleExpression(project, slot), personExpression(project, slot, seat), outcome,
                        roleExpression(project, ownerSlot), personExpression(project, ownerSlot, ownerSeat)));
    }
}

void Seeder::addRisks(const Project &project)
{
    const int r = project.roleSlots;
    const int s = project.seats;
    const QString slot = QStringLiteral("mod(:I * 3, %1)").arg(r);
    const QString seat = QStringLiteral("mod(:I / %1, %2)").arg(r).arg(s);
    const QString ownerSlot = QStringLiteral("mod(:I + 1, %1)").arg(r);
    const int days = project.index == 0 ? 3650 : 700;
    const QString level = QStringLiteral("decode(mod(:I, 3), 0, 'Low', 1, 'Medium', 'High')");
    const QString detail = rtf(QStringLiteral("%1 || '.\\par ' || %2 || '\\par Recorded as risk ' || :I || '.'")
                                   .arg(pickText(QStringLiteral("mod(:I / 10, 10)"), RiskSubjects),
                                        pickText(QStringLiteral("mod(:I, 6)"), Findings)));
    for (int from = 1; from <= project.risks; from += ChunkRows) {
        const int to = std::min(project.risks, from + ChunkRows - 1);
        script(QStringLiteral(R"(
set term ^ ;
execute block as
  declare I integer = %1;
begin
  while (I <= %2) do
  begin
    insert into RISK (RISK_ID, RISK_NBR, RISK_DESCRIPTION, RISK_DETAILED_DESCRIPTION, DATE_RAISED, PRJ_ID,
      RAISED_BY_ROLE_ID, RAISED_BY_PERSONNEL_ID, LIKELIHOOD, IMPACT, COUNTERMEASURES, OWNER_ROLE_ID,
      OWNER_PERSONNEL_ID, RISK_STATUS)
    values (gen_id(GEN_UNIQUE_ID, 1), :I, %3 || ' (ref ' || :I || ')', %4,
      dateadd(day, -((%5 - :I) * %6 / %5), date '2024-06-28'), %7, %8, %9,
      %10, %11, %12, %13, %14,
      case when :I <= %5 * 3 / 4 then 'Closed' when mod(:I, 7) = 0 then 'Suspended' else 'Open' end);
    I = I + 1;
  end
end^
set term ; ^
)")
                   .arg(from)
                   .arg(to)
                   .arg(pickText(QStringLiteral("mod(:I, 10)"), RiskSubjects), detail)
                   .arg(project.risks)
                   .arg(days)
                   .arg(project.id)
                   .arg(roleExpression(project, slot), personExpression(project, slot, seat),
                        rtf(QStringLiteral("'Likelihood: ' || ") + level),
                        rtf(QStringLiteral("'Impact: ' || ") + level + QStringLiteral(" || ' on cost and time'")),
                        rtf(pickText(QStringLiteral("mod(:I, 5)"), NextSteps)),
                        roleExpression(project, ownerSlot),
                        personExpression(project, ownerSlot, QStringLiteral("0"))));
    }
}

void Seeder::addChangeRequests(const Project &project)
{
    const int r = project.roleSlots;
    const auto role = [&](const QString &slot) { return roleExpression(project, slot); };
    const auto person = [&](const QString &slot, const QString &seat) {
        return personExpression(project, slot, seat);
    };
    const QString slot = QStringLiteral("mod(:C, %1)").arg(r);
    const QString next = QStringLiteral("mod(:C + 1, %1)").arg(r);
    const QString product = pickNumber(QStringLiteral("mod(:C, %1)").arg(project.productIds.size()), project.productIds);
    const QString sql = QStringLiteral(R"(
set term ^ ;
execute block as
  declare C integer = 0;
  declare ID integer;
  declare ISS integer;
begin
  while (C < %1) do
  begin
    ID = gen_id(GEN_UNIQUE_ID, 1);
    insert into CHANGE_REQUEST (CR_ID, CR_DESCRIPTION, CR_DETAILED_DESCRIPTION, DATE_RAISED, PRJ_ID,
      RAISED_BY_ROLE_ID, RAISED_BY_PERSONNEL_ID, BENEFITS, IMPACT_ON_PLAN, PRIORITY, CR_STATUS, OWNER_ROLE_ID,
      OWNER_PERSONNEL_ID)
    values (:ID, 'Change ' || (:C + 1) || ': ' || %2, %3, dateadd(day, :C * 7, date '2014-03-03'), %4,
      %5, %6, %7, %8,
      decode(mod(:C, 3), 0, 'High', 1, 'Medium', 'Low'),
      decode(mod(:C, 6), 0, 'Awaiting Review', 1, 'Approved', 2, 'Deferred for further information',
        3, 'Deferred to future release', 4, 'Rejected', 'Completed'),
      %9, %10);
    for select ISSUE_ID from ISSUE where PRJ_ID = %4
        and ISSUE_NBR in (mod(:C * 37, %11) + 1, mod(:C * 91 + 5, %11) + 1) into :ISS do
      insert into CHANGE_REQUEST_ISSUE (CR_ID, ISSUE_ID) values (:ID, :ISS);
    insert into CHANGE_REQUEST_PRODUCT (CR_ID, PRODUCT_ID, PRJ_ID, IMPACT, COMPLETED_BY_ROLE_ID,
      COMPLETED_BY_PERSONNEL_ID)
    values (:ID, %12, %4, %13, %5, %14);
    insert into CHANGE_REQUEST_RESOURCE (CR_ID, ROLE_ID, PRJ_ID, RESOURCE_DAYS, COMPLETED_BY_ROLE_ID,
      COMPLETED_BY_PERSONNEL_ID)
    values (:ID, %5, %4, 3 + mod(:C, 20), %5, %15);
    insert into CHANGE_REQUEST_RESOURCE (CR_ID, ROLE_ID, PRJ_ID, RESOURCE_DAYS, COMPLETED_BY_ROLE_ID,
      COMPLETED_BY_PERSONNEL_ID)
    values (:ID, %9, %4, 1 + mod(:C, 9), %5, %15);
    C = C + 1;
  end
end^
set term ; ^
)")
                            .arg(project.changeRequests)
                            .arg(pickText(QStringLiteral("mod(:C, 16)"), IssueSubjects),
                                 rtf(pickText(QStringLiteral("mod(:C, 6)"), Findings)))
                            .arg(project.id)
                            .arg(role(slot), person(slot, QStringLiteral("0")),
                                 rtf(QStringLiteral("'Removes a cause of delay and saves rework.'")),
                                 rtf(pickText(QStringLiteral("mod(:C, 5)"), NextSteps)), role(next),
                                 person(next, QStringLiteral("0")))
                            .arg(project.issues)
                            .arg(product, rtf(QStringLiteral("'Document to be revised.'")),
                                 person(slot, QStringLiteral("1")), person(slot, QStringLiteral("2")));
    script(sql);
}

void Seeder::addReviews(const Project &project)
{
    const int r = project.roleSlots;
    const QString slot = QStringLiteral("mod(:Q, %1)").arg(r);
    const QString next = QStringLiteral("mod(:Q + 1, %1)").arg(r);
    const QString product = pickNumber(QStringLiteral("mod(:Q, %1)").arg(project.productIds.size()), project.productIds);
    script(QStringLiteral(R"(
set term ^ ;
execute block as
  declare Q integer = 0;
  declare K integer;
  declare ID integer;
begin
  while (Q < %1) do
  begin
    ID = gen_id(GEN_UNIQUE_ID, 1);
    insert into QUALITY_REVIEW (QR_ID, PRJ_ID, PRODUCT_ID, SCHEDULED_REVIEW_DATE, FACILITATED_BY_ROLE_ID,
      FACILITATED_BY_PERSONNEL_ID, VERSION_FOR_REVIEW, ACTUAL_REVIEW_DATE, MEETING_LOCATION,
      INVITATIONS_SENT_DATE, QR_STATUS, OWNER_ROLE_ID, OWNER_PERSONNEL_ID, NOTES)
    values (:ID, %2, %3, dateadd(day, :Q * 9, date '2015-03-02'), %4, %5, '1.' || mod(:Q, 5),
      dateadd(day, :Q * 9 + 1, date '2015-03-02'), 'Meeting room ' || (1 + mod(:Q, 6)),
      dateadd(day, :Q * 9 - 14, date '2015-03-02'),
      decode(mod(:Q, 4), 0, 'Awaiting Schedule', 1, 'Scheduled', 2, 'Postponed', 'Signed Off'),
      %6, %7, %8);
    K = 0;
    while (K < 3) do
    begin
      insert into QUALITY_REVIEW_INVOLVEMENT (QR_ID, PRJ_ID, INVOLVEMENT_ROLE_ID, INVOLVEMENT_PERSONNEL_ID,
        ACCEPTED_INVITATION_DATE, ATTENDED_REVIEW)
      values (:ID, %2, %6, %9, dateadd(day, :Q * 9 - 10, date '2015-03-02'), 'Yes');
      K = K + 1;
    end
    Q = Q + 1;
  end
end^
set term ; ^
)")
               .arg(project.reviews)
               .arg(project.id)
               .arg(product, roleExpression(project, slot), personExpression(project, slot, QStringLiteral("0")),
                    roleExpression(project, next), personExpression(project, next, QStringLiteral("0")),
                    rtf(QStringLiteral("'Review notes: minor comments only.'")),
                    personExpression(project, next, QStringLiteral(":K"))));
}

void Seeder::updateStatistics()
{
    // A database that has lived for years has index statistics; without them
    // the optimizer would plan for empty tables.
    fb::Transaction transaction(m_db);
    transaction.start();
    fb::Statement statement(m_db, transaction,
                            QStringLiteral("select trim(RDB$INDEX_NAME) from RDB$INDICES "
                                           "where coalesce(RDB$SYSTEM_FLAG, 0) = 0"));
    statement.openCursor(transaction);
    QString sql;
    while (statement.fetch())
        sql += QStringLiteral("set statistics index %1;\n").arg(statement.value(0).toString());
    transaction.commit();
    script(sql);
}

} // namespace corvadel::bench
