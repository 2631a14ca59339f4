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
#include "core/FolderChoice.h"

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
    void progressBesideTheProgramIsReadWhenNoDataFolderCanBeMade();
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
    // What each entry of the list opens.
    const QList<std::pair<QString, QString>> models{{QStringLiteral("mokushi"), QStringLiteral("自作")},
                                                    {QStringLiteral("sample"), QStringLiteral("見本")},
                                                    {QStringLiteral("mine"), QStringLiteral("私の")}};
    for (const auto& [name, model] : models) {
        menu.examList()->setCurrentIndex(menu.examList()->findText(name));
        const std::optional<FolderEntry> file = menu.chosenExam();
        QVERIFY2(MissingExamMessage(file, name).isEmpty(), qPrintable(name));
        QCOMPARE(LoadExamText(*file).model, model);
    }
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
    AppContext ctx(next, h.messages, h.runner, h.clock, h.links, h.ctx.openClicks);
    F_mokuji menu(ctx);
    QVERIFY(menu.Form_Load());
    QCOMPARE(menu.findChild<QLineEdit*>(QStringLiteral("Text1"))->text(), LessonState::Completed);
}

void TestInstalledFolders::progressBesideTheProgramIsReadWhenNoDataFolderCanBeMade()
{
    // The learner's progress beside a copy in a folder they can no longer
    // write to, and a data folder that cannot be made.
    Harness h{Harness::Installed{}};
    ProgressRecord progress;
    progress.LessonStates[0] = LessonState::Completed;
    h.folder.write(ProgressFileName, SerializeProgress(progress));
    h.learner.write(QStringLiteral("share"), "a file where a folder should be");
    const QString wanted = h.learner.file(QStringLiteral("share/morvela"));
    ProgramFolders folders{h.folder.path(), wanted};
    QString notice;
    MakeUserFolder(folders, &notice);
    AppState state(folders.data, folders.user);
    state.FolderNotice = notice;
    AppContext ctx(state, h.messages, h.runner, h.clock, h.links, h.ctx.openClicks);

    F_mokuji menu(ctx);
    QVERIFY(menu.Form_Load());
    QCOMPARE(menu.findChild<QLineEdit*>(QStringLiteral("Text1"))->text(), LessonState::Completed);
    QCOMPARE(h.messages.shown.size(), 1); // said once, with where the progress would have gone
    QVERIFY2(h.messages.shown[0].text.contains(wanted), qPrintable(h.messages.shown[0].text));
    QCOMPARE(h.folder.read(ProgressFileName), SerializeProgress(progress));
}

QTEST_MAIN(TestInstalledFolders)
#include "tst_installedfolders.moc"
