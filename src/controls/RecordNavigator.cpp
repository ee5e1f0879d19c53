#include "controls/RecordNavigator.h"

#include "controls/ErrorReporting.h"
#include "data/DataSource.h"

#include <QHBoxLayout>
#include <QStyle>
#include <QToolButton>

namespace corvadel::controls {

namespace {

struct ButtonInfo
{
    const char *name;
    const char *hint;
    QStyle::StandardPixmap icon;
    const char *text;
};

const ButtonInfo Buttons[RecordNavigator::ButtonCount] = {
    {"First", "First record", QStyle::SP_MediaSkipBackward, "|<"},
    {"Prior", "Prior record", QStyle::SP_MediaSeekBackward, "<"},
    {"Next", "Next record", QStyle::SP_MediaSeekForward, ">"},
    {"Last", "Last record", QStyle::SP_MediaSkipForward, ">|"},
    {"Insert", "Insert record", QStyle::SP_FileDialogNewFolder, "+"},
    {"Delete", "Delete record", QStyle::SP_TrashIcon, "-"},
    {"Edit", "Edit record", QStyle::SP_FileDialogDetailedView, "^"},
    {"Post", "Post edit", QStyle::SP_DialogApplyButton, "ok"},
    {"Cancel", "Cancel edit", QStyle::SP_DialogCancelButton, "x"},
    {"Refresh", "Refresh data", QStyle::SP_BrowserReload, "r"},
};

} // namespace

RecordNavigator::RecordNavigator(QWidget *parent, bool allButtons)
    : QWidget(parent), m_allButtons(allButtons)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const int count = allButtons ? ButtonCount : 4;
    for (int i = 0; i < count; ++i) {
        auto *b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(Buttons[i].name));
        b->setToolTip(QString::fromLatin1(Buttons[i].hint));
        b->setIcon(style()->standardIcon(Buttons[i].icon));
        b->setAutoRaise(true);
        connect(b, &QToolButton::clicked, this, [this, i] { press(Button(i)); });
        layout->addWidget(b);
        m_buttons[i] = b;
    }
    updateButtons();
}

void RecordNavigator::setDataSource(data::DataSource *source)
{
    if (m_source)
        disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    if (m_source) {
        connect(m_source, &data::DataSource::currentRowChanged, this, &RecordNavigator::updateButtons);
        connect(m_source, &data::DataSource::stateChanged, this, &RecordNavigator::updateButtons);
        connect(m_source, &data::DataSource::rowsReset, this, &RecordNavigator::updateButtons);
        connect(m_source, &data::DataSource::dataSetChanged, this, &RecordNavigator::updateButtons);
    }
    updateButtons();
}

void RecordNavigator::press(Button b)
{
    data::Dataset *ds = m_source ? m_source->dataSet() : nullptr;
    if (!ds)
        return;
    runAction(this, [&] {
        switch (b) {
        case First: ds->first(); break;
        case Prior: ds->prior(); break;
        case Next: ds->next(); break;
        case Last: ds->last(); break;
        case Insert: ds->insert(); break;
        case Delete: ds->deleteRecord(); break;
        case Edit: ds->edit(); break;
        case Post: ds->post(); break;
        case Cancel: ds->cancel(); break;
        case Refresh: ds->refresh(); break;
        }
    });
    updateButtons();
    emit buttonClicked(b);
}

void RecordNavigator::updateButtons()
{
    data::Dataset *ds = m_source ? m_source->dataSet() : nullptr;
    const bool open = ds && ds->isOpen();
    const bool editing = open && ds->isEditing();
    const bool atFirst = !open || ds->currentRow() <= 0;
    const bool atLast = !open || (ds->currentRow() >= ds->recordCount() - 1 && !ds->canFetchMore());
    const bool enabled[ButtonCount] = {
        !atFirst, !atFirst, !atLast, !atLast,
        open && !ds->isReadOnly(), open && !ds->isEmpty() && !ds->isReadOnly(),
        open && !editing && !ds->isEmpty() && !ds->isReadOnly(), editing, editing, open && !editing};
    for (int i = 0; i < ButtonCount; ++i)
        if (m_buttons[i])
            m_buttons[i]->setEnabled(enabled[i]);
}

} // namespace corvadel::controls
