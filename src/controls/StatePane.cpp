#include "controls/StatePane.h"

#include "data/DataSource.h"

namespace corvadel::controls {

StatePane::StatePane(QWidget *parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("StatePane"));
    setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("Calculate")) + 12);
    setAlignment(Qt::AlignCenter);
    refresh();
}

void StatePane::setDataSource(data::DataSource *source)
{
    if (m_source)
        disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    if (m_source) {
        connect(m_source, &data::DataSource::stateChanged, this, &StatePane::refresh);
        connect(m_source, &data::DataSource::dataSetChanged, this, &StatePane::refresh);
    }
    refresh();
}

void StatePane::refresh()
{
    setText(data::stateName(m_source ? m_source->state() : data::DataSetState::Inactive));
}

} // namespace corvadel::controls
