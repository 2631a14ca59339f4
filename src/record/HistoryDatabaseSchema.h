#pragma once

#include <QSqlDatabase>
#include <QSqlError>

namespace morvela {

// The history's schema as `PRAGMA user_version` counts it. Each version is
// one step from the one before; a file is brought up to date step by step,
// so a record made by any earlier version of the program reads on.
inline constexpr int HistorySchemaVersion = 3;

// Brings `db` from its version up to HistorySchemaVersion in one write
// transaction (nothing of a step that fails is kept). A file of a later
// version of the program is left as it is: versions only ever add to it.
// Returns the error of the statement that failed, or no error.
QSqlError MigrateHistorySchema(QSqlDatabase& db);

} // namespace morvela
