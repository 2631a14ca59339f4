#include "record/RecordFigures.h"

#include "core/LiveStats.h"

#include <QMap>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace morvela {

namespace {

// Screens recorded under their own name, as the menu names them.
QString ScreenCaption(const QString& id)
{
    static const QMap<QString, QString> captions{
        {QStringLiteral("F_welcome"), QStringLiteral("スピードテスト")},
        {QStringLiteral("F_les9_1"), QStringLiteral("卒業試験")},
        {QStringLiteral("F_kentei"), QStringLiteral("ワープロ検定模試")},
        {QStringLiteral("F_game"), QStringLiteral("ゲーム")},
    };
    return captions.value(id, id);
}

} // namespace

QList<RecordScope> RecordScopes(const QStringList& pageIds)
{
    static const QRegularExpression coursePage(QStringLiteral("^(\\d\\d)-\\d\\d$"));
    QList<RecordScope> scopes{{QStringLiteral("コース全体"), QString()}};
    QSet<QString> taken;
    for (const QString& id : pageIds) {
        const auto m = coursePage.match(id);
        RecordScope scope{ScreenCaption(id), id};
        if (m.hasMatch()) {
            const int lesson = m.captured(1).toInt();
            scope = {lesson == 9 ? QStringLiteral("卒業試験") : QStringLiteral("Lesson%1").arg(lesson),
                     m.captured(1) + QLatin1Char('-')};
        }
        if (!taken.contains(scope.prefix)) {
            taken.insert(scope.prefix);
            scopes.append(scope);
        }
    }
    return scopes;
}

std::optional<double> SpeedPerMinute(int accepted, qint64 durationMs)
{
    if (durationMs <= 0)
        return std::nullopt;
    return accepted * 60000.0 / double(durationMs);
}

QString AttemptDateCell(const AttemptRecord& a)
{
    return a.endedAt.toString(QStringLiteral("yyyy/MM/dd HH:mm"));
}

QString AttemptTimeCell(const AttemptRecord& a)
{
    const qint64 seconds = std::max<qint64>(0, a.durationMs) / 1000;
    const QChar zero(u'0');
    if (seconds >= 3600)
        return QStringLiteral("%1:%2:%3")
            .arg(seconds / 3600)
            .arg(seconds / 60 % 60, 2, 10, zero)
            .arg(seconds % 60, 2, 10, zero);
    return ElapsedCaption(a.durationMs);
}

QString AttemptSpeedCell(const AttemptRecord& a)
{
    const std::optional<double> speed = SpeedPerMinute(a.accepted, a.durationMs);
    return speed ? QString::number(qRound(*speed)) : QStringLiteral("—");
}

QList<KeyHeat> KeyHeats(const QList<KeyCount>& totals)
{
    QList<KeyHeat> heats;
    for (const KeyCount& k : totals) {
        const KeyCap* key = JisKeyboard::KeyFor(k.key);
        if (!key || k.expected <= 0)
            continue;
        auto it = std::find_if(heats.begin(), heats.end(), [key](const KeyHeat& h) { return h.key == key; });
        if (it == heats.end())
            it = heats.insert(heats.end(), KeyHeat{key});
        it->expected += k.expected;
        it->missed += std::min(k.missed, k.expected);
    }
    return heats;
}

QList<MissTally> MostMissed(const QList<KeyCount>& totals, int most)
{
    QList<MissTally> tally;
    for (const KeyCount& k : totals) {
        if (k.missed <= 0)
            continue;
        auto it = std::find_if(tally.begin(), tally.end(), [&](const MissTally& t) { return t.expected == k.key; });
        if (it == tally.end())
            tally.append({k.key, k.missed});
        else
            it->count += k.missed;
    }
    std::sort(tally.begin(), tally.end(), [](const MissTally& a, const MissTally& b) {
        return a.count != b.count ? a.count > b.count : a.expected < b.expected;
    });
    return tally.mid(0, most);
}

} // namespace morvela
