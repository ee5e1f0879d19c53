#include "data/DataModule.h"

#include "data/Errors.h"
#include "data/fb/Error.h"
#include "data/fb/Statement.h"

#include <QDate>

namespace corvadel::data {

TDModBase::TDModBase(const ConnectionSettings &settings, Prompt &prompt, QObject *parent)
    : QObject(parent),
      m_settings(settings),
      m_prompt(prompt),
      m_project(m_db, fb::TransactionOptions::readCommittedNoWait()),
      m_personnel(m_db, fb::TransactionOptions::serverDefault()),
      m_refData(m_db, fb::TransactionOptions::serverDefault())
{
    setObjectName(QStringLiteral("DModBase"));
    serviceUserName = settings.adminUser;
    m_connectionParameters << QStringLiteral("user_name=") + settings.adminUser
                           << QStringLiteral("password=") + settings.adminPassword;
}

TDModBase::~TDModBase()
{
    // Whatever each group still holds is committed when the program ends.
    for (fb::Transaction *t : {&m_project, &m_personnel, &m_refData}) {
        if (!t->isActive())
            continue;
        try {
            t->commitRetaining();
        } catch (const std::exception &) {
            // Nothing left to tell the user at this point.
        }
    }
    // Statements belong to the attachment: free them before it goes.
    m_fetchUniqueId.reset();
    for (auto &[name, ds] : m_dataSets)
        delete ds;
    m_dataSets.clear();
    try {
        for (fb::Transaction *t : {&m_project, &m_personnel, &m_refData})
            if (t->isActive())
                t->commit();
        if (m_db.isConnected())
            m_db.detach();
    } catch (const std::exception &) {
    }
}

// --- datasets ---------------------------------------------------------------

Dataset &TDModBase::addDataSet(const DatasetDef &def)
{
    m_defs.push_back(def);
    auto *ds = new Dataset(def.name, m_db, transaction(def.group), this);
    ds->setFields(def.fields);
    ds->setStatements(def.sql);
    ds->setBlockSize(def.blockSize);
    ds->setRefreshAfterPost(def.refreshAfterPost);
    if (!def.master.isEmpty()) {
        DataSource *master = dataSource(def.master);
        if (!master)
            throw DataSetError(QStringLiteral("%1: master %2 is not defined").arg(def.name, def.master));
        ds->setMaster(master);
    }
    m_dataSets[def.name] = ds;
    m_dataSources[def.dataSource] = new DataSource(def.dataSource, ds, this);
    if (def.install)
        def.install(*this, *ds);
    if (!def.isQuery())
        installRecordRules(*ds, def);
    if (def.installAfterRules)
        def.installAfterRules(*this, *ds);
    return *ds;
}

Dataset *TDModBase::dataSet(const QString &name) const
{
    const auto it = m_dataSets.find(name);
    return it == m_dataSets.end() ? nullptr : it->second;
}

DataSource *TDModBase::dataSource(const QString &name) const
{
    const auto it = m_dataSources.find(name);
    return it == m_dataSources.end() ? nullptr : it->second;
}

const DatasetDef *TDModBase::definition(const QString &name) const
{
    for (const DatasetDef &def : m_defs)
        if (def.name == name)
            return &def;
    return nullptr;
}

Group TDModBase::groupOf(const Dataset &dataSet) const
{
    const DatasetDef *def = definition(dataSet.objectName());
    return def ? def->group : Group::Project;
}

fb::Transaction &TDModBase::transaction(Group group)
{
    switch (group) {
    case Group::Project: return m_project;
    case Group::Personnel: return m_personnel;
    case Group::RefData: return m_refData;
    }
    return m_project;
}

void TDModBase::setTotalCost(qint64 tenThousandths)
{
    m_totalCost = tenThousandths;
    emit totalCostChanged(tenThousandths);
}

// --- connection -------------------------------------------------------------

void TDModBase::appendConnectionParameter(const QString &line)
{
    m_connectionParameters << line;
}

QString TDModBase::connectionParameter(const QString &name) const
{
    const QString prefix = name + QLatin1Char('=');
    for (auto it = m_connectionParameters.crbegin(); it != m_connectionParameters.crend(); ++it)
        if (it->startsWith(prefix, Qt::CaseInsensitive))
            return it->mid(prefix.size());
    return {};
}

void TDModBase::connectDatabase()
{
    if (m_db.isConnected())
        return;
    m_db = fb::Attachment::attach(m_settings.database, connectionParameter(QStringLiteral("user_name")),
                                  connectionParameter(QStringLiteral("password")));
}

bool TDModBase::isConnected() const
{
    return m_db.isConnected();
}

// --- operations -------------------------------------------------------------

int TDModBase::FetchUniqueId()
{
    if (!m_project.isActive())
        m_project.start();
    if (!m_fetchUniqueId)
        m_fetchUniqueId = std::make_unique<fb::Statement>(
            m_db, m_project, QStringLiteral("execute procedure PROC_FETCH_UNIQUE_ID"));
    m_fetchUniqueId->execute(m_project);
    return m_fetchUniqueId->value(0).toInt();
}

QStringList TDModBase::openOrder()
{
    return {
        QStringLiteral("IBDSSkill"), QStringLiteral("IBDSRole"), QStringLiteral("IBDSProductType"),
        QStringLiteral("IBDSSystemUser"), QStringLiteral("IBDSPersonnel"), QStringLiteral("IBDSPersonSkill"),
        QStringLiteral("IBDSProject"), QStringLiteral("IBDSProjectRole"), QStringLiteral("IBDSProjectRolePerson"),
        QStringLiteral("IBDSProduct"), QStringLiteral("IBDSIssue"), QStringLiteral("IBDSRisk"),
        QStringLiteral("IBDSChangeRequest"), QStringLiteral("IBDSChangeRequestIssue"),
        QStringLiteral("IBDSChangeRequestProduct"), QStringLiteral("IBDSChangeRequestResource"),
        QStringLiteral("IBDSQualityReview"), QStringLiteral("IBDSQualityReviewInvolvement"),
        QStringLiteral("IBQProductChangeRequest"), QStringLiteral("IBQProductQualityReview"),
        QStringLiteral("IBQIssueChangeRequest"), QStringLiteral("IBQLkupProjectRole1"),
        QStringLiteral("IBQLkupProjectRolePerson1"), QStringLiteral("IBQLkupProjectRole2"),
        QStringLiteral("IBQLkupProjectRolePerson2"),
    };
}

QStringList TDModBase::saveOrder(Group group)
{
    switch (group) {
    case Group::Project:
        // The change request's resource lines are posted by their own window,
        // never by the group's save.
        return {QStringLiteral("IBDSProject"), QStringLiteral("IBDSProjectRole"),
                QStringLiteral("IBDSProjectRolePerson"), QStringLiteral("IBDSProduct"),
                QStringLiteral("IBDSIssue"), QStringLiteral("IBDSRisk"), QStringLiteral("IBDSChangeRequest"),
                QStringLiteral("IBDSChangeRequestIssue"), QStringLiteral("IBDSChangeRequestProduct"),
                QStringLiteral("IBDSQualityReview"), QStringLiteral("IBDSQualityReviewInvolvement")};
    case Group::Personnel:
        return {QStringLiteral("IBDSPersonnel"), QStringLiteral("IBDSPersonSkill")};
    case Group::RefData:
        return {QStringLiteral("IBDSSkill"), QStringLiteral("IBDSRole"), QStringLiteral("IBDSProductType"),
                QStringLiteral("IBDSSystemUser")};
    }
    return {};
}

void TDModBase::OpenAllDataSets()
{
    for (fb::Transaction *t : {&m_personnel, &m_project, &m_refData})
        if (!t->isActive())
            t->start();
    for (const QString &name : openOrder())
        if (Dataset *ds = dataSet(name))
            ds->open();
}

void TDModBase::saveGroup(Group group)
{
    for (const QString &name : saveOrder(group)) {
        Dataset *ds = dataSet(name);
        if (ds && ds->isEditing())
            ds->post();
    }
    fb::Transaction &t = transaction(group);
    if (t.isActive()) {
        try {
            t.commitRetaining();
        } catch (const fb::Error &) {
            // A failing commit is undone and not reported.
            try {
                t.rollbackRetaining();
            } catch (const fb::Error &) {
            }
        }
    }
    m_uncommitted[int(group)] = false;
    m_pending[int(group)] = false;
}

void TDModBase::cancelGroup(Group group)
{
    for (const QString &name : saveOrder(group)) {
        Dataset *ds = dataSet(name);
        if (ds && ds->isEditing())
            ds->cancel();
    }
    if (group == Group::Project) {
        // Not saved by the group, but its unposted line must not outlive the
        // rollback either.
        if (Dataset *ds = dataSet(QStringLiteral("IBDSChangeRequestResource")); ds && ds->isEditing())
            ds->cancel();
    }
    fb::Transaction &t = transaction(group);
    if (t.isActive())
        t.rollbackRetaining();
    // A new user row whose account could not be added is gone with the
    // rollback: the next user posted is not a new one.
    if (group == Group::RefData)
        newUser = false;
    if (m_uncommitted[int(group)])
        reopenAfterRollback(group);
    m_uncommitted[int(group)] = false;
}

void TDModBase::reopenAfterRollback(Group group)
{
    // Rows posted since the last commit no longer exist, and rows deleted
    // since are back: re-read the group's top-level datasets (their details
    // follow), staying on the same record where it still exists.
    for (const QString &name : openOrder()) {
        Dataset *ds = dataSet(name);
        if (!ds || !ds->isOpen() || ds->master() || groupOf(*ds) != group)
            continue;
        QVariant key;
        Field *keyField = ds->fields().empty() ? nullptr : ds->fields().front();
        if (keyField && ds->currentRow() >= 0)
            key = keyField->value();
        ds->close();
        ds->open();
        if (keyField && key.isValid() && !key.isNull())
            ds->locate(keyField->name(), key);
    }
}

// --- the standard record rules ----------------------------------------------

QString composeText(TDModBase &module, Dataset &dataSet, const std::vector<TextPiece> &pieces)
{
    QString out;
    for (const TextPiece &piece : pieces) {
        if (piece.field.isEmpty()) {
            out += piece.literal;
            continue;
        }
        Dataset *source = piece.dataSet.isEmpty() ? &dataSet : module.dataSet(piece.dataSet);
        Field *field = source ? source->findField(piece.field) : nullptr;
        if (!field)
            continue;
        if (field->type() == FieldType::Integer)
            out += QString::number(field->isNull() ? 0 : field->asInteger());
        else
            out += field->asString();
    }
    return out;
}

void TDModBase::installRecordRules(Dataset &ds, const DatasetDef &def)
{
    const Group group = def.group;

    // 1. Pending changes; a detail's master is posted before a new row.
    ds.beforeEdit.push_back([this, group](Dataset &) { raisePendingChanges(group); });
    ds.beforeInsert.push_back([this, group, def](Dataset &) {
        if (!def.postBeforeInsert.isEmpty()) {
            Dataset *master = dataSet(def.postBeforeInsert);
            const bool due = master && (def.postOnlyWhenInserting
                                            ? master->state() == DataSetState::Insert
                                            : master->isEditing());
            if (due)
                master->post();
        }
        raisePendingChanges(group);
    });

    // 2. Delete confirmation.
    if (!def.confirmDelete.empty()) {
        ds.beforeDelete.push_back([this, def](Dataset &d) {
            if (!m_prompt.confirm(composeText(*this, d, def.confirmDelete)))
                throw Abort();
        });
    }

    // 3. In use.
    if (!def.inUseMessage.isEmpty()) {
        ds.onDeleteError.push_back([this, message = def.inUseMessage](Dataset &, const std::exception &e) {
            const auto *error = dynamic_cast<const fb::Error *>(&e);
            if (!error || !error->hasCode(fb::isc::foreignKeyViolation))
                return ErrorAction::Fail;
            m_prompt.warning(message);
            return ErrorAction::Abort;
        });
    }

    // 4. Duplicate.
    if (!def.duplicateMessage.isEmpty()) {
        ds.onPostError.push_back([this, message = def.duplicateMessage](Dataset &, const std::exception &e) {
            const auto *error = dynamic_cast<const fb::Error *>(&e);
            if (!error || !error->hasCode(fb::isc::uniqueKeyViolation))
                return ErrorAction::Fail;
            m_prompt.warning(message);
            return ErrorAction::Abort;
        });
    }

    // 5. New record: key, parent keys, defaults.
    ds.onNewRecord.push_back([this, def](Dataset &d) {
        if (!def.newKeyField.isEmpty())
            d.fieldByName(def.newKeyField)->setValue(FetchUniqueId());
        for (const ParentKey &p : def.parentKeys) {
            Dataset *parent = dataSet(p.fromDataSet);
            const QString from = p.fromField.isEmpty() ? p.field : p.fromField;
            d.fieldByName(p.field)->setValue(parent ? parent->fieldByName(from)->value() : QVariant());
        }
        for (const DefaultValue &v : def.defaults)
            d.fieldByName(v.field)->setValue(v.today ? QVariant(QDate::currentDate()) : v.value);
    });

    // 6. Re-read after post. Datasets that re-read as part of the post have
    // done so already; one round trip per post is enough.
    if (!def.refreshAfterPost)
        ds.afterPost.push_back([](Dataset &d) { d.refresh(); });

    // What a cancel of the group must undo. Marked first, so that a rule
    // that saves the group right after a post clears it again.
    ds.afterPost.insert(ds.afterPost.begin(), [this, group](Dataset &) { m_uncommitted[int(group)] = true; });
    ds.afterDelete.insert(ds.afterDelete.begin(), [this, group](Dataset &) { m_uncommitted[int(group)] = true; });
}

} // namespace corvadel::data
