// Installed, the program reads what came with it from its own folder and
// keeps the learner's files in the learner's data folder; the exam list
// reads both. A learner's progress beside an older unpacked copy survives
// the switch to the installed program.

#include "app/F_mokuji.h"
#include "app/Startup.h"
#include "core/GameScoreFile.h"
#include "core/ProgressFile.h"
#include "exam/ExamText.h"
#include "support/Controls.h"
#include "support/Harness.h"
#include "core/Cp932.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

using namespace morvela;
using morvela::test::Harness;
using morvela::test::TestFolder;

namespace {

QStringList sortedItems(const QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    items.sort();
    return items;
}

} // namespace

class TestInstalledFolders : public QObject {
    Q_OBJECT
private slots:
    void writesGoToTheLearnersFolderOnly();
    void examTextsOfBothPlacesAreListedOnce();
    void progressBesideAnOlderCopyIsKept();
};

void TestInstalledFolders::writesGoToTheLearnersFolderOnly()
{
    Harness h{Harness::Installed{}};
    F_mokuji menu(h.ctx);
    QVERIFY(menu.Form_Load()); // Keyboard.bmp and game.dat found in the program folder
    QVERIFY(h.messages.shown.isEmpty());
    QCOMPARE(h.learner.read(ProgressFileName), SerializeProgress(ProgressRecord()));
    QVERIFY(h.learner.exists(GameScoreFileName));

    h.state.progress.LessonStates[0] = LessonState::Completed;
    morvela::test::button(menu, 13)->click();
    QCOMPARE(ParseProgress(h.learner.read(ProgressFileName)).record.LessonStates[0], LessonState::Completed);
    QVERIFY(!h.folder.exists(ProgressFileName));
    QVERIFY(!h.folder.exists(GameScoreFileName));
}

void TestInstalledFolders::examTextsOfBothPlacesAreListedOnce()
{
    Harness h{Harness::Installed{}};
    h.folder.write(QStringLiteral("sample.ken"), EncodeCp932(QStringLiteral("見本\r\n")));
    h.folder.write(QStringLiteral("Mokushi.ken"), EncodeCp932(QStringLiteral("同梱\r\n")));
    h.learner.write(QStringLiteral("mokushi.ken"), EncodeCp932(QStringLiteral("自作\r\n")));
    h.learner.write(QStringLiteral("mine.ken"), EncodeCp932(QStringLiteral("私の\r\n")));
    F_mokuji menu(h.ctx);
    QVERIFY(menu.Form_Load());

    QCOMPARE(sortedItems(menu.examList()),
             (QStringList{QStringLiteral("mine"), QStringLiteral("mokushi"), QStringLiteral("sample")}));
    const auto model = [&](const QString& name) {
        return LoadExamText(h.state.examFolder(ExamFileName(name)), name).model;
    };
    QCOMPARE(model(QStringLiteral("mokushi")), QStringLiteral("自作"));
    QCOMPARE(model(QStringLiteral("sample")), QStringLiteral("見本"));
    QCOMPARE(model(QStringLiteral("mine")), QStringLiteral("私の"));
    for (const QString& name : sortedItems(menu.examList()))
        QVERIFY2(MissingExamMessage(h.state.examFolder(name + QStringLiteral(".ken")), name).isEmpty(),
                 qPrintable(name));
}

void TestInstalledFolders::progressBesideAnOlderCopyIsKept()
{
    // The unpacked copy the learner used before, its progress beside it.
    TestFolder oldCopy;
    ProgressRecord progress;
    progress.LessonStates[0] = LessonState::Completed;
    const QByteArray oldFile = SerializeProgress(progress);
    oldCopy.write(ProgressFileName, oldFile);

    // The first start of the installed program begins afresh in the
    // learner's data folder and leaves the old copy's file alone.
    Harness h{Harness::Installed{}};
    {
        F_mokuji menu(h.ctx);
        QVERIFY(menu.Form_Load());
        morvela::test::button(menu, 13)->click();
    }
    QCOMPARE(oldCopy.read(ProgressFileName), oldFile);

    // Copied into the data folder, the old progress is the installed
    // program's from its next start.
    h.learner.write(ProgressFileName, oldFile);
    AppState next(h.folder.path(), h.learner.path());
    AppContext ctx(next, h.messages, h.runner, h.clock, h.ctx.openClicks);
    F_mokuji menu(ctx);
    QVERIFY(menu.Form_Load());
    QCOMPARE(menu.findChild<QLineEdit*>(QStringLiteral("Text1"))->text(), LessonState::Completed);
}

QTEST_MAIN(TestInstalledFolders)
#include "tst_installedfolders.moc"
