#include "record/HistoryDatabaseCsv.h"

namespace morvela {
namespace {

QByteArray Field(const QString& text)
{
    QByteArray bytes = text.toUtf8();
    const bool quoted = bytes.contains(',') || bytes.contains('"') || bytes.contains('\r') || bytes.contains('\n');
    if (!quoted)
        return bytes;
    bytes.replace('"', "\"\"");
    return '"' + bytes + '"';
}

QString Keys(const QList<KeyCount>& keys)
{
    QStringList entries;
    entries.reserve(keys.size());
    for (const KeyCount& k : keys)
        entries << QStringLiteral("%1 %2/%3").arg(QString::fromUcs4(&k.key, 1)).arg(k.expected).arg(k.missed);
    return entries.join(u' ');
}

} // namespace

QByteArray CsvLine(const QStringList& fields)
{
    QByteArray line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i)
            line += ',';
        line += Field(fields[i]);
    }
    return line + "\r\n";
}

QStringList HistoryCsvHeader()
{
    return {QStringLiteral("日時"),      QStringLiteral("画面"),         QStringLiteral("ページ"),
            QStringLiteral("時間(ミリ秒)"), QStringLiteral("入力文字数"),     QStringLiteral("ミス"),
            QStringLiteral("レベル"),    QStringLiteral("テンポ(ミリ秒)"), QStringLiteral("かな漢字変換"),
            QStringLiteral("結果"),      QStringLiteral("キー別(文字 出題数/ミス数)")};
}

QStringList HistoryCsvFields(const AttemptRecord& a)
{
    return {a.endedAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
            a.screen,
            a.pageId,
            QString::number(a.durationMs),
            QString::number(a.accepted),
            QString::number(a.misses),
            a.level < 0 ? QString() : QString::number(a.level),
            a.tempoMs <= 0 ? QString() : QString::number(a.tempoMs),
            a.inputMethod ? QStringLiteral("オン") : QStringLiteral("オフ"),
            a.outcome,
            Keys(a.keys)};
}

} // namespace morvela
