#include "record/RecentAttemptsModel.h"

#include "record/RecordFigures.h"

#include <algorithm>
#include <limits>

namespace morvela {

RecentAttemptsModel::RecentAttemptsModel(Fetch fetch, QObject* parent)
    : QAbstractTableModel(parent), m_fetch(std::move(fetch))
{
}

void RecentAttemptsModel::reload()
{
    beginResetModel();
    m_rows = m_fetch(FirstBatch);
    m_exhausted = m_rows.size() < FirstBatch;
    endResetModel();
}

int RecentAttemptsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int RecentAttemptsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RecentAttemptsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const AttemptRecord& a = m_rows[index.row()].attempt;
    if (role == Qt::TextAlignmentRole) {
        const bool figure = index.column() == Time || index.column() == Speed || index.column() == Misses;
        return QVariant::fromValue(Qt::Alignment(figure ? Qt::AlignRight | Qt::AlignVCenter
                                                        : Qt::AlignLeft | Qt::AlignVCenter));
    }
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    switch (index.column()) {
    case Date: return AttemptDateCell(a);
    case Page: return a.pageId;
    case Time: return AttemptTimeCell(a);
    case Speed: return AttemptSpeedCell(a);
    case Misses: return QString::number(a.misses);
    case Outcome: return a.outcome;
    default: return {};
    }
}

QVariant RecentAttemptsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Date: return QStringLiteral("日時");
    case Page: return QStringLiteral("ページ");
    case Time: return QStringLiteral("時間");
    case Speed: return QStringLiteral("速度（字/分）");
    case Misses: return QStringLiteral("ミス");
    case Outcome: return QStringLiteral("結果");
    default: return {};
    }
}

bool RecentAttemptsModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && !m_exhausted;
}

void RecentAttemptsModel::fetchMore(const QModelIndex& parent)
{
    if (!canFetchMore(parent))
        return;
    // Twice as many each time: scrolling through the whole record reads it
    // a few times over, never once per batch.
    const int wanted = int(std::min<qsizetype>(m_rows.size() * 2, std::numeric_limits<int>::max() / 2));
    const QList<StoredAttempt> rows = m_fetch(std::max(wanted, FirstBatch));
    m_exhausted = rows.size() < std::max(wanted, FirstBatch);
    if (rows.size() <= m_rows.size())
        return;
    beginInsertRows({}, int(m_rows.size()), int(rows.size()) - 1);
    m_rows.append(rows.mid(m_rows.size()));
    endInsertRows();
}

} // namespace morvela
