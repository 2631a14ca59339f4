#pragma once

// The application as the windows see it, built on a temporary program folder
// with message boxes recorded and modal screens run by a script.

#include "ui/AppContext.h"
#include "core/ProgressFile.h"
#include "support/ManualClock.h"
#include "support/RecordingMessageService.h"
#include "support/RecordingUrlOpener.h"
#include "support/ScriptedModalRunner.h"
#include "support/TestFolder.h"

#include <QRegularExpression>
#include <QTest>

namespace morvela::test {

struct Harness {
    explicit Harness(bool withData = true) : folder(withData), state(folder.path()) {}
    // As installed: the bundled data in `folder`, the learner's files in
    // `learner`.
    struct Installed {};
    explicit Harness(Installed) : folder(true), state(folder.path(), learner.path()) {}

    // A window's effects that name a control it does not have fail the test.
    struct FailOnMissingControls {
        FailOnMissingControls() { QTest::failOnWarning(QRegularExpression(QStringLiteral("^ApplyEffects: "))); }
    } failOnMissingControls;
    TestFolder folder;
    TestFolder learner{false};
    AppState state;
    RecordingMessageService messages;
    ScriptedModalRunner runner;
    ManualClock clock;
    RecordingUrlOpener links{messages};
    // No audio output: the beep stands in at every tick, and is counted.
    AppContext ctx{state, messages, runner, clock, links, [] { return std::unique_ptr<ClickOutput>(); }};

    // The record as morvela.ini in the folder holds it now.
    ProgressRecord savedRecord() const { return ParseProgress(folder.read(ProgressFileName)).record; }

    QString lastMessage() const { return messages.shown.isEmpty() ? QString() : messages.shown.last().text; }
};

} // namespace morvela::test
