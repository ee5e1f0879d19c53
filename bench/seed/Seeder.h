#pragma once

#include "data/fb/Attachment.h"

#include <QString>
#include <QStringList>

#include <functional>

#include <vector>

namespace corvadel::bench {

// What a seeded database holds. The large project comes first in the
// project table, so the data module makes it the active project on login.
struct SeedPlan
{
    int largeIssues = 100000;
    int largeRisks = 20000;
    int people = 5000;
    int roles = 50;
    int smallProjects = 12;
    int smallIssues = 400;
    int smallRisks = 80;
};

// Fills a database that holds the program's schema and its starting
// reference data with realistic volumes. Rows are generated on the server by
// EXECUTE BLOCK loops, a few thousand rows per round trip, committed in
// chunks; every foreign key, unique constraint and trigger of the schema
// applies as it would to rows a user typed.
class Seeder
{
public:
    Seeder(fb::Attachment &attachment, const SeedPlan &plan);
    void run();

private:
    struct Project
    {
        int id = 0;
        int index = 0;        // 0 for the large project
        int roleSlots = 0;    // project roles
        int seats = 0;        // people per project role
        int assignmentBase = 0; // number of its first assignment, across projects
        int issues = 0;
        int risks = 0;
        int products = 0;
        int changeRequests = 0;
        int reviews = 0;
        std::vector<int> roleIds;
        std::vector<int> productIds;
    };

    void step(const QString &what, const std::function<void()> &work);
    void script(const QString &sql);
    std::vector<int> ids(const QString &select);
    int reserveIds(int count);   // the first of `count` fresh keys

    void addRoles();
    void addPeople();
    void addSkills();
    void addUsers();
    void addProjects();
    void addProjectRoles(Project &project);
    void addProducts(Project &project);
    void addIssues(const Project &project);
    void addRisks(const Project &project);
    void addChangeRequests(const Project &project);
    void addReviews(const Project &project);
    void updateStatistics();

    // SQL expressions, over the loop variable I of a block, for the role and
    // the person of one of the project's assignments.
    QString roleExpression(const Project &project, const QString &slot) const;
    QString personExpression(const Project &project, const QString &slot, const QString &seat) const;

    fb::Attachment &m_db;
    SeedPlan m_plan;
    int m_personBase = 0;
    int m_assignmentBase = 0;   // assignments handed out so far, across projects
    std::vector<int> m_roleIds;
    std::vector<int> m_productTypeIds;
    std::vector<Project> m_projects;
};

} // namespace corvadel::bench
