#include "record/PracticeLine.h"

#include <QSet>

#include <algorithm>
#include <limits>

namespace morvela {

namespace {

bool TypeableWithoutInputMethod(const QString& token)
{
    return std::all_of(token.cbegin(), token.cend(), [](QChar c) { return c.unicode() > 0x20 && c.unicode() < 0x7F; });
}

// "jfjfkdkd" four times over is the piece "jfjfkdkd"; pieces of one
// character ("ffff") stay whole, since a single letter is no syllable.
QString RepeatedPiece(const QString& token)
{
    for (qsizetype piece = 2; piece <= token.size() / 2; ++piece) {
        if (token.size() % piece != 0)
            continue;
        const QStringView unit = QStringView(token).left(piece);
        bool repeats = true;
        for (qsizetype at = piece; repeats && at < token.size(); at += piece)
            repeats = QStringView(token).mid(at, piece) == unit;
        if (repeats)
            return unit.toString();
    }
    return token;
}

// SplitMix64: small, and the same numbers on every compiler and library,
// which the standard distributions do not promise.
class PracticeRandom {
public:
    explicit PracticeRandom(quint64 seed) : m_state(seed) {}
    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

private:
    quint64 m_state;
};

// Error rates in millionths, so that weights are whole numbers and the
// draw is exact.
qint64 RatePpm(const KeyCount& k)
{
    return k.expected > 0 ? qint64(std::min(k.missed, k.expected)) * 1'000'000 / k.expected : 0;
}

bool Weaker(const KeyCount& a, const KeyCount& b)
{
    // missed/expected compared without division; more misses break a tie.
    const qint64 left = qint64(a.missed) * b.expected, right = qint64(b.missed) * a.expected;
    if (left != right)
        return left > right;
    if (a.missed != b.missed)
        return a.missed > b.missed;
    return a.key < b.key;
}

bool Contains(const QString& text, char32_t key)
{
    return key < 0x80 && text.contains(QChar(char16_t(key)));
}

QList<KeyCount> MergedByKey(const QList<KeyCount>& totals)
{
    QList<KeyCount> keys = totals;
    std::sort(keys.begin(), keys.end(), [](const KeyCount& a, const KeyCount& b) { return a.key < b.key; });
    QList<KeyCount> merged;
    for (const KeyCount& k : keys) {
        if (!merged.isEmpty() && merged.last().key == k.key) {
            merged.last().expected += k.expected;
            merged.last().missed += k.missed;
        } else {
            merged.append(k);
        }
    }
    return merged;
}

struct Candidate {
    QString text;
    qint64 weight = 0; // the weak keys' rates over its characters, per character
};

} // namespace

QStringList PracticeCandidates(const QStringList& courseTexts)
{
    QStringList candidates;
    QSet<QString> seen;
    for (const QString& text : courseTexts) {
        qsizetype start = 0;
        for (qsizetype i = 0; i <= text.size(); ++i) {
            if (i < text.size() && !text.at(i).isSpace())
                continue;
            const QString token = RepeatedPiece(text.mid(start, i - start));
            start = i + 1;
            if (token.size() < 2 || !TypeableWithoutInputMethod(token) || seen.contains(token))
                continue;
            seen.insert(token);
            candidates.append(token);
        }
    }
    return candidates;
}

PracticeLine MakePracticeLine(const QList<KeyCount>& totals, const QStringList& candidates, const QString& homeRow,
                              quint64 seed, int length)
{
    PracticeLine result;
    result.line = homeRow;
    const QList<KeyCount> keys = MergedByKey(totals);

    qint64 keystrokes = 0;
    for (const KeyCount& k : keys)
        keystrokes += k.expected;
    if (keystrokes < PracticeMinimumKeystrokes) {
        result.basis = PracticeLine::Basis::TooLittleHistory;
        return result;
    }

    // The blank comes between any two words, so it is no key to practise;
    // a key none of the candidates holds (a kana, a kanji) cannot be.
    QList<KeyCount> weak;
    for (const KeyCount& k : keys) {
        if (k.missed <= 0 || k.expected <= 0 || k.key == U' ')
            continue;
        if (std::any_of(candidates.cbegin(), candidates.cend(), [&](const QString& c) { return Contains(c, k.key); }))
            weak.append(k);
    }
    std::sort(weak.begin(), weak.end(), Weaker);
    weak = weak.mid(0, PracticeWeakKeyCount);
    if (weak.isEmpty()) {
        result.basis = PracticeLine::Basis::NothingMissed;
        return result;
    }

    QList<Candidate> pool;
    QSet<QString> seen;
    for (const QString& text : candidates) {
        if (text.isEmpty() || seen.contains(text))
            continue;
        seen.insert(text);
        qint64 sum = 0;
        for (QChar c : text) {
            for (const KeyCount& k : weak) {
                if (k.key == c.unicode())
                    sum += RatePpm(k);
            }
        }
        if (sum > 0)
            pool.append({text, std::max<qint64>(1, sum / text.size())});
    }

    PracticeRandom random(seed);
    QString line;
    qsizetype previous = -1;
    for (;;) {
        // The first word is taken whatever its length, so a line is never empty.
        const qsizetype room = line.isEmpty() ? std::numeric_limits<qsizetype>::max() : length - line.size() - 1;
        QList<qsizetype> fits;
        for (qsizetype i = 0; i < pool.size(); ++i) {
            if (pool[i].text.size() <= room)
                fits.append(i);
        }
        // The weakest key the line does not hold yet comes first.
        for (const KeyCount& k : weak) {
            if (Contains(line, k.key))
                continue;
            QList<qsizetype> holding;
            for (qsizetype i : fits) {
                if (Contains(pool[i].text, k.key))
                    holding.append(i);
            }
            if (!holding.isEmpty()) {
                fits = holding;
                break;
            }
        }
        if (fits.size() > 1)
            fits.removeOne(previous);
        if (fits.isEmpty())
            break;
        qint64 total = 0;
        for (qsizetype i : fits)
            total += pool[i].weight;
        qint64 draw = qint64(random.next() % quint64(total));
        qsizetype chosen = fits.last();
        for (qsizetype i : fits) {
            if (draw < pool[i].weight) {
                chosen = i;
                break;
            }
            draw -= pool[i].weight;
        }
        if (!line.isEmpty())
            line += QLatin1Char(' ');
        line += pool[chosen].text;
        previous = chosen;
    }

    result.basis = PracticeLine::Basis::WeakKeys;
    result.line = line;
    result.weakKeys = weak;
    return result;
}

} // namespace morvela
