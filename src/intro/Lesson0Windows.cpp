#include "intro/Lesson0Windows.h"

#include "core/AppContext.h"
#include "ui/Fonts.h"
#include "ui/NamedControls.h"
#include "ui/PictureBox.h"
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

// QLineEdit keeps its text this many pixels inside its contents rectangle.
constexpr int LineEditTextMargin = 2;

const QString Lesson0Tag = QStringLiteral(" ● Lesson0 ●");

// "次ページ>>" on a Lesson 0 page: the record reaches the file only when this
// page raised the furthest page passed.
void passPage(AppContext& ctx, QWidget* page, Lesson0Page passed)
{
    if (RaiseFurthestPage(ctx.state.progress, Lesson0PageId(passed)))
        ctx.saveProgress(page);
}

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

// A text to copy and the typing box under it: one left edge and one
// fixed-pitch font, so each typed character stands under the one it answers.
struct CopyLine {
    QLabel* label;
    TypingBox* box;
};

CopyLine copyLine(const QString& labelName, const QString& boxName, const QFont& font, int width, QWidget* parent,
                  QBoxLayout* into)
{
    auto* frame = new QFrame(parent);
    frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    frame->setLineWidth(1);
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->setContentsMargins(0, 0, 0, 0);
    auto* box = new TypingBox(frame);
    box->setObjectName(boxName);
    box->setFont(font);
    box->setFrame(false);
    box->setTextMargins(0, 0, 0, 0);
    frameLayout->addWidget(box);
    frame->setFixedWidth(width);

    QLabel* label = namedLabel(labelName, QString(), parent);
    label->setFont(font);
    label->setFixedWidth(width);
    label->setContentsMargins(frame->frameWidth() + LineEditTextMargin, 0, 0, 0);
    label->setIndent(0);
    label->setMargin(0);

    auto* column = new QVBoxLayout;
    column->setSpacing(2);
    column->addWidget(label);
    column->addWidget(frame);
    into->addLayout(column);
    return {label, box};
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

    const QFont font = DrillFont(13.5);
    for (int i = 0; i < 3; ++i) {
        if (i > 0)
            outer->addSpacing(4);
        const CopyLine line = copyLine(QStringLiteral("Label%1").arg(5 + i), QStringLiteral("Text%1").arg(1 + i), font,
                                       PageWidth, this, outer);
        m_text[size_t(i)] = line.box;
        line.box->setInputMethodWanted(true); // kana and kanji come from the input method
    }
    m_text[0]->setJudge([this](char32_t key) { return Text1_KeyPress(key); });
    m_text[1]->setJudge([this](char32_t key) { return Text2_KeyPress(key); });
    m_text[2]->setJudge([this](char32_t key) { return Text3_KeyPress(key); });

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
    for (int i = 0; i < 3; ++i) {
        findChild<QLabel*>(QStringLiteral("Label%1").arg(5 + i))->setText(sentences[size_t(i)]);
        m_text[size_t(i)]->clear();
    }
    m_command2->setEnabled(m_test.open());
    m_label8->clear();
    m_label9->setText(m_test.Label9());
    showTurn();
    loadPage(this);
}

// Only the box whose turn it is can be reached. Boxes already typed keep
// their text in plain sight but take no focus; later boxes wait disabled.
void F_welcome::showTurn()
{
    const int turn = m_test.currentBox();
    for (int i = 0; i < 3; ++i) {
        TypingBox* box = m_text[size_t(i)];
        box->setEnabled(i <= turn);
        box->setFocusPolicy(i == turn ? Qt::StrongFocus : Qt::NoFocus);
    }
    m_text[size_t(turn)]->setFocus();
}

TypingBox::Verdict F_welcome::keyPress(int box, char32_t key)
{
    const SpeedTest::Key k = m_test.keyPress(box, key);
    switch (k.focus) {
    case SpeedTest::Focus::Stay:
        break;
    case SpeedTest::Focus::Text2:
    case SpeedTest::Focus::Text3:
        // The rest of an input-method commit carries on into the next box.
        m_text[size_t(box)]->handRestTo(m_text[size_t(box + 1)]);
        showTurn();
        break;
    case SpeedTest::Focus::Command2:
        m_label8->setText(m_test.Label8());
        m_label9->setText(m_test.Label9());
        m_command2->setEnabled(true);
        m_command2->setFocus();
        break;
    }
    return k.accepted ? TypingBox::Verdict::Accept : TypingBox::Verdict::Refuse;
}

void F_welcome::Command1_Click()
{
    done(int(Lesson0Page::Menu)); // nothing is saved
}

void F_welcome::Command2_Click()
{
    passPage(m_ctx, this, Lesson0Page::Welcome);
    done(int(Lesson0Page::Hantei));
}

void F_welcome::Command3_Click()
{
    m_test.restart();
    for (TypingBox* box : m_text)
        box->clear();
    showTurn();
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
    passPage(m_ctx, this, Lesson0Page::Hantei);
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
    tryIt->addWidget(label4, 0, Qt::AlignTop);
    auto* drillColumn = new QVBoxLayout;
    const CopyLine line = copyLine(QStringLiteral("Label5"), QStringLiteral("Text1"), DrillFont(13.5), DrillWidth, this,
                                   drillColumn);
    m_label5 = line.label;
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
    m_picture1->loadPicture(m_ctx.state.folder, QStringLiteral("keyboard.bmp"));
    m_label5->setText(HomeRowSequence);
    m_drill.restart();
    m_text1->clear();
    m_command1->setEnabled(Lesson0NextPageOpen(m_ctx.state.progress, Lesson0Page::Position));
    m_text1->setFocus();
    loadPage(this);
}

TypingBox::Verdict F_Position::Text1_KeyPress(char32_t key)
{
    const HomeRowDrill::Key k = m_drill.keyPress(key);
    if (k.completed) {
        m_label6->setText(QStringLiteral("ＯＫ！その調子です。"));
        m_command1->setEnabled(true);
        m_command1->setFocus();
        m_ctx.showRowState(0);
    }
    return k.accepted ? TypingBox::Verdict::Accept : TypingBox::Verdict::Refuse;
}

void F_Position::Command1_Click()
{
    passPage(m_ctx, this, Lesson0Page::Position);
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
        case Lesson0Page::Welcome: {
            F_welcome window(ctx, parent);
            window.Form_Load();
            next = ctx.runner.run(window);
            break;
        }
        case Lesson0Page::Hantei: {
            F_hantei window(ctx, parent);
            window.Form_Load();
            next = ctx.runner.run(window);
            break;
        }
        case Lesson0Page::Position: {
            F_Position window(ctx, parent);
            window.Form_Load();
            next = ctx.runner.run(window);
            break;
        }
        case Lesson0Page::Menu:
            break;
        }
        // A page closed any other way leaves for the menu.
        page = (next >= int(Lesson0Page::Welcome) && next <= int(Lesson0Page::Position)) ? Lesson0Page(next)
                                                                                         : Lesson0Page::Menu;
    }
}

} // namespace morvela
