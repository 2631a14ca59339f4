#include "intro/Lesson0Windows.h"

#include "ui/AppContext.h"
#include "ui/ApplyEffects.h"
#include "ui/Fonts.h"
#include "ui/NamedControls.h"
#include "ui/PictureBox.h"
#include "ui/TypingColumn.h"
#include "ui/TypingLines.h"
#include "ui/WindowPlacement.h"

#include <QFontMetrics>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace morvela {

namespace {

// Every Lesson 0 page is this wide inside its margins: the keyboard picture
// fits, and the longest sentence of the speed test fits on one line.
constexpr int PageWidth = 720;

const QString Lesson0Tag = QStringLiteral(" ● Lesson0 ●");

QLabel* namedLabel(const QString& name, const QString& text, QWidget* parent, int wrapWidth = 0)
{
    QLabel* l = NamedLabel(name, text, parent);
    if (wrapWidth > 0) {
        l->setWordWrap(true);
        l->setFixedWidth(wrapWidth);
    }
    return l;
}

QFont bold(QFont font)
{
    font.setBold(true);
    return font;
}

// Prev, next on the left, the menu on the right, as on every lesson page.
void addPageButtons(QBoxLayout* into, QPushButton* previous, QPushButton* next, QPushButton* menu)
{
    auto* row = new QHBoxLayout;
    if (previous)
        row->addWidget(previous);
    row->addWidget(next);
    row->addStretch(1);
    row->addWidget(menu);
    into->addSpacing(6);
    into->addLayout(row);
}

QVBoxLayout* pageLayout(QDialog* page)
{
    auto* outer = new QVBoxLayout(page);
    outer->setSizeConstraint(QLayout::SetFixedSize); // a fixed window that fits its text
    outer->setContentsMargins(16, 14, 16, 14);
    return outer;
}

void loadPage(QDialog* page)
{
    page->setWindowTitle(CourseTitle(Lesson0Tag));
    page->adjustSize();
    CentreOnScreen(page);
}

} // namespace

// ---------------------------------------------------------------- F_welcome

F_welcome::F_welcome(AppContext& ctx, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_test(ctx.state.progress, ctx.clock)
{
    setObjectName(QStringLiteral("F_welcome"));
    buildControls();
}

void F_welcome::buildControls()
{
    QVBoxLayout* outer = pageLayout(this);

    QLabel* label1 = namedLabel(QStringLiteral("Label1"),
                                QStringLiteral("■■■　タイピング練習ソフト【 Morvela】にようこそ！　■■■"), this,
                                PageWidth);
    label1->setFont(bold(label1->font()));
    label1->setAlignment(Qt::AlignHCenter);
    outer->addWidget(label1);
    outer->addSpacing(4);
    outer->addWidget(namedLabel(QStringLiteral("Label2"),
                                QStringLiteral("このソフトは、『ローマ字入力による日本語タイピング』を習得する為のソフトです。（かな漢字変換の方法については、お使いのかな漢字変換ソフトのマニュアルをご覧ください。）"),
                                this, PageWidth));
    outer->addSpacing(4);
    outer->addWidget(namedLabel(QStringLiteral("Label3"),
                                QStringLiteral("まず、あなたの現在の日本語入力のスピードを測定してみましょう。"), this,
                                PageWidth));
    outer->addWidget(namedLabel(QStringLiteral("Label4"),
                                QStringLiteral("以下の文章を入力して下さい。最初の文字が入力されるのと同時に、時間を計り始めます。（間違った文字は入力できません。）"),
                                this, PageWidth));
    outer->addSpacing(6);

    m_lines = new TypingLines({{QStringLiteral("Label5"), QStringLiteral("Text1")},
                               {QStringLiteral("Label6"), QStringLiteral("Text2")},
                               {QStringLiteral("Label7"), QStringLiteral("Text3")}},
                              AlignedDrillFont(13.5), PageWidth, this);
    m_lines->setInputMethodWanted(true); // kana and kanji come from the input method
    m_lines->setJudge([this](int box, char32_t key) { return keyPress(box, key); });
    outer->addWidget(m_lines);

    outer->addSpacing(8);
    m_label8 = namedLabel(QStringLiteral("Label8"), QString(), this, PageWidth);
    m_label8->setFont(bold(m_label8->font()));
    m_label8->setMinimumHeight(m_label8->fontMetrics().lineSpacing() * 2);
    m_label8->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    outer->addWidget(m_label8);
    m_label9 = namedLabel(QStringLiteral("Label9"), QString(), this, PageWidth);
    outer->addWidget(m_label9);

    m_command1 = NamedButton(QStringLiteral("Command1"), QStringLiteral("目次へ"), this);
    m_command2 = NamedButton(QStringLiteral("Command2"), QStringLiteral("次ページ>>"), this);
    m_command3 = NamedButton(QStringLiteral("Command3"), QStringLiteral("もう一度"), this);
    m_command2->setEnabled(false);
    auto* row = new QHBoxLayout;
    row->addWidget(m_command3);
    row->addWidget(m_command2);
    row->addStretch(1);
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
    m_test.open();
    m_lines->clear();
    m_command2->setEnabled(m_test.nextPageOpen());
    m_label8->clear();
    m_label9->setText(m_test.bestTimeLine());
    loadPage(this);
}

TypingLines::Verdict F_welcome::keyPress(int box, char32_t key)
{
    const KeyOutcome k = m_test.keyPress(box, key);
    if (!k.effects.focus.isEmpty()) { // the test is done
        m_label8->setText(m_test.resultLine());
        m_label9->setText(m_test.bestTimeLine());
        m_command2->setEnabled(m_test.nextPageOpen());
        ApplyEffects(m_ctx, *this, 0, k.effects);
    }
    return {k.accepted, k.line};
}

void F_welcome::Command1_Click()
{
    done(int(Lesson0Page::Menu)); // nothing is saved
}

void F_welcome::Command2_Click()
{
    ApplyEffects(m_ctx, *this, 0, PassLesson0Page(m_ctx.state.progress, Lesson0Page::Welcome));
    done(int(Lesson0Page::Hantei));
}

void F_welcome::Command3_Click()
{
    m_test.restart();
    m_lines->clear();
}

// ----------------------------------------------------------------- F_hantei

F_hantei::F_hantei(AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("F_hantei"));
    buildControls();
}

void F_hantei::buildControls()
{
    QVBoxLayout* outer = pageLayout(this);

    m_label[1] = namedLabel(QStringLiteral("Label1"), QString(), this, PageWidth);
    m_label[1]->setFont(bold(m_label[1]->font()));
    outer->addWidget(m_label[1]);
    outer->addSpacing(4);

    // The judgement of the time, set apart from the text below it.
    auto* judgement = new QFrame(this);
    judgement->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    auto* judgementLayout = new QVBoxLayout(judgement);
    judgementLayout->setContentsMargins(10, 8, 10, 8);
    const int inner = PageWidth - 2 * 10 - 2 * judgement->frameWidth();
    for (int i = 2; i <= 4; ++i) {
        m_label[i] = namedLabel(QStringLiteral("Label%1").arg(i), QString(), judgement, inner);
        judgementLayout->addWidget(m_label[i]);
    }
    outer->addWidget(judgement);
    outer->addSpacing(8);

    outer->addWidget(namedLabel(QStringLiteral("Label5"),
                                QStringLiteral("ブラインドタッチ(キーボードを見ないで１０本指で入力すること）が出来ると、次のようなメリットがあります。さぁ、今すぐチャレンジしましょう！"),
                                this, PageWidth));

    // Each benefit: its heading, and the text under it.
    const struct {
        const char* heading;
        const char* headingText;
        const char* body;
        const char* bodyText;
    } benefits[] = {
        {"Label9", "■入力スピードが上がります", "Label6",
         "文字入力が速くなり、今までの数分の一の時間で同じ量の仕事がこなせるようになります。入力スピードが上がると、考える速さもそれに応じて速くなってきます。今までは、入力スピードに考える速さが抑えられていたのです。"},
        {"Label10", "■疲れにくくなります。", "Label8",
         "キーボードと画面を慌ただしく見比べる視線の移動が無くなりますので、疲れにくくなり、肩凝りや頭痛が軽減されます。"},
        {"Label11", "■仕事の質が上がります。", "Label7",
         "話す時にいちいち声の出し方を考えたりしないように、ブラインドタッチができるようになると、考えに沿って無意識に手が動くようになります。キーを打つことに気を取られなくなりますので、打ち込む内容の方に集中できます。"},
    };
    for (const auto& b : benefits) {
        outer->addSpacing(6);
        QLabel* heading = namedLabel(QString::fromLatin1(b.heading), QString::fromUtf8(b.headingText), this, PageWidth);
        heading->setFont(bold(heading->font()));
        outer->addWidget(heading);
        QLabel* body = namedLabel(QString::fromLatin1(b.body), QString::fromUtf8(b.bodyText), this, PageWidth - 16);
        body->setContentsMargins(0, 0, 0, 0);
        auto* indented = new QHBoxLayout;
        indented->addSpacing(16);
        indented->addWidget(body);
        outer->addLayout(indented);
    }

    auto* command1 = NamedButton(QStringLiteral("Command1"), QStringLiteral("次ページ>>"), this);
    auto* command2 = NamedButton(QStringLiteral("Command2"), QStringLiteral("<<前ページ"), this);
    auto* command3 = NamedButton(QStringLiteral("Command3"), QStringLiteral("目次へ"), this);
    addPageButtons(outer, command2, command1, command3);
    connect(command1, &QPushButton::clicked, this, &F_hantei::Command1_Click);
    connect(command2, &QPushButton::clicked, this, &F_hantei::Command2_Click);
    connect(command3, &QPushButton::clicked, this, &F_hantei::Command3_Click);
    command1->setFocus();
}

void F_hantei::Form_Load()
{
    const QString best = m_ctx.state.progress.BestSpeedTime;
    m_label[1]->setText(JudgedTimeLine(best));
    const std::array<QString, 3> lines = SpeedBandLines(SpeedBand(best));
    for (int i = 0; i < 3; ++i)
        m_label[2 + i]->setText(lines[size_t(i)]);
    loadPage(this);
}

void F_hantei::Command1_Click()
{
    ApplyEffects(m_ctx, *this, 0, PassLesson0Page(m_ctx.state.progress, Lesson0Page::Hantei));
    done(int(Lesson0Page::Position));
}

void F_hantei::Command2_Click()
{
    done(int(Lesson0Page::Welcome));
}

void F_hantei::Command3_Click()
{
    done(int(Lesson0Page::Menu));
}

// --------------------------------------------------------------- F_Position

F_Position::F_Position(AppContext& ctx, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_drill(ctx.state.progress)
{
    setObjectName(QStringLiteral("F_Position"));
    buildControls();
}

void F_Position::buildControls()
{
    QVBoxLayout* outer = pageLayout(this);

    outer->addWidget(namedLabel(QStringLiteral("Label1"),
                                QStringLiteral("下のキーボードの絵を見ながら、【右手の指を［Ｊ］～［；］】に【左手の指を［Ｆ］～［Ａ］】に置いて下さい。この指の置きかたを『ホームポジション』と言います。"),
                                this, PageWidth));
    m_picture1 = new PictureBox(this);
    m_picture1->setObjectName(QStringLiteral("Picture1"));
    outer->addWidget(m_picture1, 0, Qt::AlignHCenter);
    outer->addSpacing(4);
    outer->addWidget(namedLabel(QStringLiteral("Label2"),
                                QStringLiteral("タイピングの練習で大事なことは、以下の２つです。これはどんなことがあっても、絶対に守って下さい。"),
                                this, PageWidth));
    for (const auto& [name, text] : {std::pair{"Label3", "◆両手の指は、常にホームポジションに置く。"},
                                     std::pair{"Label7", "◆キーボードを見ないで打つ。(画面のキーボードの絵を参照して下さい）"}}) {
        QLabel* rule = namedLabel(QString::fromLatin1(name), QString::fromUtf8(text), this, PageWidth - 16);
        rule->setFont(bold(rule->font()));
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
    QLabel* label4 = namedLabel(QStringLiteral("Label4"),
                                QStringLiteral("ちょっとやってみましょう。キーボードを見ないで右の様にタイプして見て下さい。"),
                                this, PageWidth - DrillWidth - 16);
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
                                               AlignedDrillFont(13.5), DrillWidth, this);
    QVBoxLayout* drillColumn = line.layout;
    m_label5 = line.labels.first();
    m_text1 = line.box;
    m_text1->setInputMethodWanted(false); // the keys themselves, not kana
    m_text1->setJudge([this](char32_t key) { return Text1_KeyPress(key); });
    m_label6 = namedLabel(QStringLiteral("Label6"), QString(), this, DrillWidth);
    m_label6->setFont(bold(m_label6->font()));
    m_label6->setMinimumHeight(m_label6->fontMetrics().lineSpacing());
    drillColumn->addWidget(m_label6);
    tryIt->addLayout(drillColumn);
    outer->addLayout(tryIt);

    m_command1 = NamedButton(QStringLiteral("Command1"), QStringLiteral("次ページ>>"), this);
    auto* command2 = NamedButton(QStringLiteral("Command2"), QStringLiteral("<<前ページ"), this);
    auto* command3 = NamedButton(QStringLiteral("Command3"), QStringLiteral("目次へ"), this);
    m_command1->setEnabled(false);
    addPageButtons(outer, command2, m_command1, command3);
    connect(m_command1, &QPushButton::clicked, this, &F_Position::Command1_Click);
    connect(command2, &QPushButton::clicked, this, &F_Position::Command2_Click);
    connect(command3, &QPushButton::clicked, this, &F_Position::Command3_Click);
}

void F_Position::Form_Load()
{
    m_picture1->loadPicture(m_ctx.state.data, QStringLiteral("keyboard.bmp"));
    m_label5->setText(HomeRowSequence);
    m_text1->setAccessibleName(HomeRowSequence);
    m_drill.open();
    m_text1->clear();
    render();
    m_text1->setFocus();
    loadPage(this);
}

void F_Position::render()
{
    m_label6->setText(m_drill.praise());
    m_command1->setEnabled(m_drill.nextPageOpen());
    m_picture1->setKeyMark(MarkFor(m_drill.markedKey()));
    m_missedKeys->setText(m_drill.missedKeysLine());
}

TypingBox::Verdict F_Position::Text1_KeyPress(char32_t key)
{
    const KeyOutcome k = m_drill.keyPress(key);
    render();
    ApplyEffects(m_ctx, *this, 0, k.effects);
    return k.accepted ? TypingBox::Verdict::Accept : TypingBox::Verdict::Refuse;
}

void F_Position::Command1_Click()
{
    ApplyEffects(m_ctx, *this, 0, PassLesson0Page(m_ctx.state.progress, Lesson0Page::Position));
    done(int(Lesson0Page::Menu));
}

void F_Position::Command2_Click()
{
    done(int(Lesson0Page::Hantei));
}

void F_Position::Command3_Click()
{
    done(int(Lesson0Page::Menu));
}

// ------------------------------------------------------------------ the flow

void RunLesson0(AppContext& ctx, QWidget* parent)
{
    // Each page loads afresh whenever it is shown.
    auto page = Lesson0Page::Welcome;
    while (page != Lesson0Page::Menu) {
        int next = 0;
        switch (page) {
        case Lesson0Page::Welcome:
            next = ctx.runScreen<F_welcome>(parent);
            break;
        case Lesson0Page::Hantei:
            next = ctx.runScreen<F_hantei>(parent);
            break;
        case Lesson0Page::Position:
            next = ctx.runScreen<F_Position>(parent);
            break;
        case Lesson0Page::Menu:
            break;
        }
        // A page closed any other way leaves for the menu.
        page = (next >= int(Lesson0Page::Welcome) && next <= int(Lesson0Page::Position)) ? Lesson0Page(next)
                                                                                         : Lesson0Page::Menu;
    }
}

} // namespace morvela
