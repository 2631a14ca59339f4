#include "intro/F_Position.h"

#include "intro/Lesson0PageLayout.h"
#include "ui/AppContext.h"
#include "ui/Fonts.h"
#include "ui/NamedControls.h"
#include "ui/PictureBox.h"
#include "ui/TypingBox.h"
#include "ui/TypingColumn.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace morvela {

F_Position::F_Position(AppContext& ctx, QWidget* parent)
    : TypingScreen(ctx, 0, parent), m_drill(ctx.state.progress, &ctx.clock)
{
    setObjectName(QStringLiteral("F_Position"));
    buildControls();
}

void F_Position::buildControls()
{
    QVBoxLayout* outer = Lesson0PageLayout(this);

    outer->addWidget(Lesson0Label(QStringLiteral("Label1"),
                                QStringLiteral("下のキーボードの絵を見ながら、【右手の指を［Ｊ］～［；］】に【左手の指を［Ｆ］～［Ａ］】に置いて下さい。この指の置きかたを『ホームポジション』と言います。"),
                                this, Lesson0PageWidth));
    m_picture1 = new PictureBox(this);
    m_picture1->setObjectName(QStringLiteral("Picture1"));
    outer->addWidget(m_picture1, 0, Qt::AlignHCenter);
    outer->addSpacing(4);
    outer->addWidget(Lesson0Label(QStringLiteral("Label2"),
                                QStringLiteral("タイピングの練習で大事なことは、以下の２つです。これはどんなことがあっても、絶対に守って下さい。"),
                                this, Lesson0PageWidth));
    for (const auto& [name, text] : {std::pair{"Label3", "◆両手の指は、常にホームポジションに置く。"},
                                     std::pair{"Label7", "◆キーボードを見ないで打つ。(画面のキーボードの絵を参照して下さい）"}}) {
        QLabel* rule = Lesson0Label(QString::fromLatin1(name), QString::fromUtf8(text), this, Lesson0PageWidth - 16);
        rule->setFont(Bold(rule->font()));
        auto* indented = new QHBoxLayout;
        indented->addSpacing(16);
        indented->addWidget(rule);
        outer->addLayout(indented);
    }
    outer->addSpacing(8);

    // The instruction on the left, what to type on its right.
    constexpr int DrillWidth = 220;
    auto* tryIt = new QHBoxLayout;
    tryIt->setSpacing(16);
    QLabel* label4 = Lesson0Label(QStringLiteral("Label4"),
                                QStringLiteral("ちょっとやってみましょう。キーボードを見ないで右の様にタイプして見て下さい。"),
                                this, Lesson0PageWidth - DrillWidth - 16);
    // Under the instruction, level with Label6, the keys missed most: room
    // the row has to spare, so nothing else moves.
    auto* instruction = new QVBoxLayout;
    instruction->addWidget(label4);
    instruction->addStretch(1);
    m_missedKeys = MissedKeysLabel(this);
    m_missedKeys->setMinimumHeight(m_missedKeys->fontMetrics().lineSpacing());
    instruction->addWidget(m_missedKeys);
    tryIt->addLayout(instruction);
    const TypingColumn line = MakeTypingColumn({QStringLiteral("Label5")}, QStringLiteral("Text1"),
                                               AlignedDrillFont(this, 13.5), DrillWidth, this);
    QVBoxLayout* drillColumn = line.layout;
    m_label5 = line.labels.first();
    m_text1 = line.box;
    m_text1->setInputMethodWanted(false); // the keys themselves, not kana
    m_text1->setJudge([this](char32_t key) { return Text1_KeyPress(key); });
    m_label6 = Lesson0Label(QStringLiteral("Label6"), QString(), this, DrillWidth);
    m_label6->setFont(Bold(m_label6->font()));
    m_label6->setMinimumHeight(m_label6->fontMetrics().lineSpacing());
    drillColumn->addWidget(m_label6);
    tryIt->addLayout(drillColumn);
    outer->addLayout(tryIt);

    m_command1 = NamedButton(QStringLiteral("Command1"), QStringLiteral("次ページ>>"), this);
    auto* command2 = NamedButton(QStringLiteral("Command2"), QStringLiteral("<<前ページ"), this);
    auto* command3 = NamedButton(QStringLiteral("Command3"), QStringLiteral("目次へ"), this);
    m_command1->setEnabled(false);
    AddLesson0PageButtons(outer, command2, m_command1, command3, makeLiveStrip(m_drill.attempt(), false));
    connect(m_command1, &QPushButton::clicked, this, &F_Position::Command1_Click);
    connect(command2, &QPushButton::clicked, this, &F_Position::Command2_Click);
    connect(command3, &QPushButton::clicked, this, &F_Position::Command3_Click);
}

void F_Position::Form_Load()
{
    m_picture1->loadPicture(m_ctx.state.data, QStringLiteral("keyboard.bmp"));
    m_label5->setText(HomeRowSequence);
    m_text1->setAccessibleName(HomeRowSequence);
    apply(m_drill.open());
    LoadLesson0Page(this);
}

void F_Position::render()
{
    m_label6->setText(m_drill.praise());
    m_command1->setEnabled(m_drill.nextPageOpen());
    m_picture1->setKeyMark(MarkFor(m_drill.markedKey()));
    m_missedKeys->setText(m_drill.missedKeysLine());
}

KeyOutcome F_Position::Text1_KeyPress(char32_t key)
{
    return judged(m_drill.keyPress(key));
}

void F_Position::Command1_Click()
{
    CloseLesson0Page(m_ctx, *this, Lesson0Page::Position, Lesson0Turn::Next);
}

void F_Position::Command2_Click()
{
    CloseLesson0Page(m_ctx, *this, Lesson0Page::Position, Lesson0Turn::Previous);
}

void F_Position::Command3_Click()
{
    CloseLesson0Page(m_ctx, *this, Lesson0Page::Position, Lesson0Turn::Menu);
}

} // namespace morvela
