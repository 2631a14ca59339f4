#pragma once

#include "record/HistoryDatabase.h"

#include <QAbstractTableModel>

#include <functional>

namespace morvela {

// The table of recent attempts, newest first. Rows are read in batches as
// the table scrolls down to them, so a record of any size opens at once.
class RecentAttemptsModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    // The newest `limit` attempts, newest first.
    using Fetch = std::function<QList<StoredAttempt>(int limit)>;
    enum Column { Date, Page, Time, Speed, Misses, Outcome, ColumnCount };
    static constexpr int FirstBatch = 200;

    explicit RecentAttemptsModel(Fetch fetch, QObject* parent = nullptr);

    // Reads the first batch (afresh after the record changed).
    void reload();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    Fetch m_fetch;
    QList<StoredAttempt> m_rows;
    bool m_exhausted = true; // nothing is read before reload()
};

} // namespace morvela
