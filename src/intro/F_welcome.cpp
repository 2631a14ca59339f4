#include "intro/F_welcome.h"

#include "intro/Lesson0PageLayout.h"
#include "ui/AppContext.h"
#include "ui/Fonts.h"
#include "ui/NamedControls.h"
#include "ui/LiveStrip.h"
#include "ui/TypingLines.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace morvela {

F_welcome::F_welcome(AppContext& ctx, QWidget* parent)
    : TypingScreen(ctx, 0, parent), m_test(ctx.state.progress, ctx.clock)
{
    setObjectName(QStringLiteral("F_welcome"));
    buildControls();
}

void F_welcome::buildControls()
{
    QVBoxLayout* outer = Lesson0PageLayout(this);

    QLabel* label1 = Lesson0Label(QStringLiteral("Label1"),
                                QStringLiteral("■■■　タイピング練習ソフト【 Morvela】にようこそ！　■■■"), this,
                                Lesson0PageWidth);
    label1->setFont(Bold(label1->font()));
    label1->setAlignment(Qt::AlignHCenter);
    outer->addWidget(label1);
    outer->addSpacing(4);
    outer->addWidget(Lesson0Label(QStringLiteral("Label2"),
                                QStringLiteral("このソフトは、『ローマ字入力による日本語タイピング』を習得する為のソフトです。（かな漢字変換の方法については、お使いのかな漢字変換ソフトのマニュアルをご覧ください。）"),
                                this, Lesson0PageWidth));
    outer->addSpacing(4);
    outer->addWidget(Lesson0Label(QStringLiteral("Label3"),
                                QStringLiteral("まず、あなたの現在の日本語入力のスピードを測定してみましょう。"), this,
                                Lesson0PageWidth));
    outer->addWidget(Lesson0Label(QStringLiteral("Label4"),
                                QStringLiteral("以下の文章を入力して下さい。最初の文字が入力されるのと同時に、時間を計り始めます。（間違った文字は入力できません。）"),
                                this, Lesson0PageWidth));
    outer->addSpacing(6);

    m_lines = new TypingLines({{QStringLiteral("Label5"), QStringLiteral("Text1")},
                               {QStringLiteral("Label6"), QStringLiteral("Text2")},
                               {QStringLiteral("Label7"), QStringLiteral("Text3")}},
                              AlignedDrillFont(this, 13.5), Lesson0PageWidth, this);
    m_lines->setInputMethodWanted(true); // kana and kanji come from the input method
    m_lines->setJudge([this](int box, char32_t key) { return Text_KeyPress(box, key); });
    outer->addWidget(m_lines);

    outer->addSpacing(8);
    m_label8 = Lesson0Label(QStringLiteral("Label8"), QString(), this, Lesson0PageWidth);
    m_label8->setFont(Bold(m_label8->font()));
    m_label8->setMinimumHeight(m_label8->fontMetrics().lineSpacing() * 2);
    m_label8->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    outer->addWidget(m_label8);
    m_label9 = Lesson0Label(QStringLiteral("Label9"), QString(), this, Lesson0PageWidth);
    outer->addWidget(m_label9);

    m_command1 = NamedButton(QStringLiteral("Command1"), QStringLiteral("目次へ"), this);
    m_command2 = NamedButton(QStringLiteral("Command2"), QStringLiteral("次ページ>>"), this);
    m_command3 = NamedButton(QStringLiteral("Command3"), QStringLiteral("もう一度"), this);
    m_command2->setEnabled(false);
    auto* row = new QHBoxLayout;
    row->addWidget(m_command3);
    row->addWidget(m_command2);
    PlaceLiveStrip(*row, makeLiveStrip(m_test.attempt(), true));
    row->addWidget(m_command1);
    outer->addSpacing(6);
    outer->addLayout(row);

    connect(m_command1, &QPushButton::clicked, this, &F_welcome::Command1_Click);
    connect(m_command2, &QPushButton::clicked, this, &F_welcome::Command2_Click);
    connect(m_command3, &QPushButton::clicked, this, &F_welcome::Command3_Click);
}

void F_welcome::Form_Load()
{
    const auto& sentences = SpeedTestSentences();
    m_lines->setTexts({sentences[0], sentences[1], sentences[2]});
    apply(m_test.open());
    LoadLesson0Page(this);
}

void F_welcome::render()
{
    m_label8->setText(m_test.resultLine());
    m_label9->setText(m_test.bestTimeLine());
    m_command2->setEnabled(m_test.nextPageOpen());
}

KeyOutcome F_welcome::Text_KeyPress(int box, char32_t key)
{
    return judged(m_test.keyPress(box, key));
}

void F_welcome::Command1_Click()
{
    CloseLesson0Page(m_ctx, *this, Lesson0Page::Welcome, Lesson0Turn::Menu);
}

void F_welcome::Command2_Click()
{
    CloseLesson0Page(m_ctx, *this, Lesson0Page::Welcome, Lesson0Turn::Next);
}

void F_welcome::Command3_Click()
{
    m_test.restart();
    m_lines->clear();
    refreshLiveStrip();
}

} // namespace morvela
