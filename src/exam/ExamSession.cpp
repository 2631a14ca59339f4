#include "exam/ExamSession.h"

#include "core/Cp932.h"

#include <QDir>
#include <QStringDecoder>
#include <QStringEncoder>

#include <optional>
#include <utility>

namespace morvela {

QString ElapsedLabel(qint64 seconds)
{
    seconds = qMax<qint64>(seconds, 0);
    return QStringLiteral("時間：%1分%2秒(合格=10分以内)")
        .arg(seconds / 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString MistakeLabel(const QString& what)
{
    return QStringLiteral("間違い：") + what + QStringLiteral("(合格=4以内)");
}

QByteArray WorkFileBytes(const QString& text)
{
    bool ok = false;
    QByteArray bytes = EncodeCp932(text, &ok);
    if (!ok) {
        // Character by character, each checked by decoding it back. An
        // error stays with its converter (resetState does not clear it
        // with the ICU ones), so each error is followed by new ones.
        std::optional<QStringEncoder> encoder;
        std::optional<QStringDecoder> decoder;
        bytes.clear();
        for (char32_t c : text.toUcs4()) {
            if (!encoder) {
                encoder.emplace(Cp932CodecName, QStringConverter::Flag::Stateless);
                decoder.emplace(Cp932CodecName, QStringConverter::Flag::Stateless);
            }
            const QString one = QString::fromUcs4(&c, 1);
            const QByteArray encoded = encoder->encode(one);
            const bool charOk = !encoder->hasError() && decoder->decode(encoded) == one && !decoder->hasError();
            if (!charOk)
                encoder.reset();
            bytes += charOk ? encoded : QByteArray("?");
        }
    }
    return bytes + "\r\n";
}

QString MistakeListText(int mistakeCount, const QString& mistakeReport)
{
    return mistakeCount != 0 ? mistakeReport : QStringLiteral("間違った箇所はありません。");
}

ScreenEffects ExamSession::open(const ExamText& exam)
{
    m_model = exam.model;
    m_screen = ExamScreen{};
    m_startTime = 0;
    ScreenEffects effects;
    if (exam.tooLarge) {
        effects.message = ExamTooLargeMessage;
        effects.messageIcon = MessageIcon::Error;
    }
    effects.focus = QStringLiteral("Text2");
    return effects;
}

void ExamSession::keyPress()
{
    if (started())
        return;
    m_startTime = m_clock.nowSeconds();
    m_startMs = m_clock.nowMs();
    m_screen.state = ExamState::Typing;
    m_screen.clockRunning = true;
    m_screen.mistakeListEnabled = false;
    m_screen.menuEnabled = false;
    m_screen.mistakesText = MistakeLabel(QStringLiteral("入力中"));
    m_state.MistakeCount = 0;
    m_state.MistakeReport.clear();
}

void ExamSession::tick()
{
    if (!started())
        return;
    m_screen.elapsedText = ElapsedLabel(m_clock.nowSeconds() - m_startTime);
}

int TypedCharacterCount(const QString& typedText)
{
    int count = 0;
    for (const char32_t c : typedText.toUcs4())
        count += c != U'\r' && c != U'\n';
    return count;
}

ScreenEffects ExamSession::complete(const QString& typedText)
{
    // Only a comparison after typing ends an attempt; pressing the button
    // again over the same text compares it again and records nothing.
    const bool attemptEnds = started();
    m_screen.state = ExamState::Checked;
    m_screen.clockRunning = false; // Label2 keeps the last time shown

    QStringList failures;
    const std::pair<QString, const QString&> workFiles[] = {{WorkFileModel, m_model}, {WorkFileTyped, typedText}};
    for (const auto& [name, text] : workFiles) {
        const QString path = m_state.folder.filePath(name);
        QString error;
        if (!WriteFileAtomically(path, WorkFileBytes(text), &error))
            failures << QStringLiteral("作業ファイル %1 を書き込めませんでした。\n%2\n%3")
                            .arg(name, QDir::toNativeSeparators(path), error);
    }

    const ExamResult result = CompareExam(m_model, typedText);
    m_state.MistakeCount = result.mistakeCount;
    m_state.MistakeReport = result.mistakeReport;

    m_screen.mistakesText = MistakeLabel(QString::number(result.mistakeCount));
    m_screen.completeEnabled = true;
    m_screen.mistakeListEnabled = true;
    m_screen.menuEnabled = true;

    ScreenEffects effects;
    if (attemptEnds) {
        AttemptRecord finished;
        finished.screen = QStringLiteral("F_kentei");
        finished.pageId = finished.screen;
        finished.durationMs = m_clock.nowMs() - m_startMs;
        finished.accepted = TypedCharacterCount(typedText);
        finished.misses = result.mistakeCount;
        finished.inputMethod = true;
        finished.outcome = m_screen.mistakesText; // the program judges nothing: the count against its limit
        effects.finishedAttempt = finished;
    }
    if (!failures.isEmpty()) {
        effects.message = failures.join(QStringLiteral("\n\n"))
            + QStringLiteral("\n\n入力した文章の照合はできており、間違いの数は画面のとおりです。");
        effects.messageIcon = MessageIcon::Warning;
    }
    return effects;
}

} // namespace morvela
