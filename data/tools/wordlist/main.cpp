// morvela-wordlist: makes the falling-words game's word list, game.dat, from
// a plain text file of "word,hint" lines, and turns a game.dat back into
// such text, so that a teacher or a learner can give the game their own
// words. It lies beside the program.

#include "WordListText.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>

#include <cstdio>

namespace {

const char* const Help =
    "Usage: morvela-wordlist encode WORDS.txt GAME.DAT\n"
    "       morvela-wordlist decode GAME.DAT [WORDS.txt]\n"
    "\n"
    "encode  makes the game's word list GAME.DAT from WORDS.txt: UTF-8 text,\n"
    "        one word per line, then a comma and its hint, e.g.\n"
    "            猫,ねこ\n"
    "            コーヒー,こーひー\n"
    "        The word is what falls and is typed; the hint is shown in the\n"
    "        window's title (it may hold commas, or be left out with its\n"
    "        comma). Blank lines are skipped. Every character must exist in\n"
    "        the Japanese Windows code page (CP932) and be one a key or the\n"
    "        input method types (no TAB or other control character); any\n"
    "        that is not is named by its line and place, and nothing is\n"
    "        written.\n"
    "decode  writes GAME.DAT back as such text, to WORDS.txt or the screen,\n"
    "        and names the lines the game leaves out.\n"
    "\n"
    "Put the finished game.dat beside the program (morvela) to play it.\n";

void report(const QStringList& lines)
{
    for (const QString& line : lines)
        std::fprintf(stderr, "morvela-wordlist: %s\n", qUtf8Printable(line));
}

bool readFile(const QString& path, QByteArray* bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        report({QStringLiteral("cannot read %1: %2").arg(path, file.errorString())});
        return false;
    }
    *bytes = file.readAll();
    return true;
}

// Whole or not at all: a failed run never leaves half a list.
bool writeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    report({QStringLiteral("cannot write %1: %2").arg(path, file.errorString())});
    return false;
}

int encode(const QString& in, const QString& out)
{
    QByteArray text;
    if (!readFile(in, &text))
        return 1;
    const Conversion c = EncodeWordListText(text, in);
    if (!c.problems.isEmpty()) {
        report(c.problems);
        report({QStringLiteral("%1 not written").arg(out)});
        return 1;
    }
    return writeFile(out, c.bytes) ? 0 : 1;
}

int decode(const QString& in, const QString& out)
{
    QByteArray gameDat;
    if (!readFile(in, &gameDat))
        return 1;
    const Conversion c = DecodeWordListText(gameDat, in);
    report(c.notes);
    if (out.isEmpty()) {
        std::fwrite(c.bytes.constData(), 1, size_t(c.bytes.size()), stdout);
        return 0;
    }
    return writeFile(out, c.bytes) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.value(0) == QLatin1String("--help") || args.value(0) == QLatin1String("-h")) {
        std::fputs(Help, stdout);
        return 0;
    }
    if (args.value(0) == QLatin1String("encode") && args.size() == 3)
        return encode(args[1], args[2]);
    if (args.value(0) == QLatin1String("decode") && (args.size() == 2 || args.size() == 3))
        return decode(args[1], args.value(2));
    std::fputs(Help, stderr);
    return 2;
}
