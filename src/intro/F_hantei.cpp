#include "intro/F_hantei.h"

#include "intro/Lesson0PageLayout.h"
#include "ui/AppContext.h"
#include "ui/NamedControls.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>

namespace morvela {

F_hantei::F_hantei(AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("F_hantei"));
    buildControls();
}

void F_hantei::buildControls()
{
    QVBoxLayout* outer = Lesson0PageLayout(this);

    m_label[1] = Lesson0Label(QStringLiteral("Label1"), QString(), this, Lesson0PageWidth);
    m_label[1]->setFont(Bold(m_label[1]->font()));
    outer->addWidget(m_label[1]);
    outer->addSpacing(4);

    // The judgement of the time, set apart from the text below it.
    auto* judgement = new QFrame(this);
    judgement->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    auto* judgementLayout = new QVBoxLayout(judgement);
    judgementLayout->setContentsMargins(10, 8, 10, 8);
    const int inner = Lesson0PageWidth - 2 * 10 - 2 * judgement->frameWidth();
    for (int i = 2; i <= 4; ++i) {
        m_label[i] = Lesson0Label(QStringLiteral("Label%1").arg(i), QString(), judgement, inner);
        judgementLayout->addWidget(m_label[i]);
    }
    outer->addWidget(judgement);
    outer->addSpacing(8);

    outer->addWidget(Lesson0Label(QStringLiteral("Label5"),
                                QStringLiteral("ブラインドタッチ(キーボードを見ないで１０本指で入力すること）が出来ると、次のようなメリットがあります。さぁ、今すぐチャレンジしましょう！"),
                                this, Lesson0PageWidth));

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
        QLabel* heading = Lesson0Label(QString::fromLatin1(b.heading), QString::fromUtf8(b.headingText), this, Lesson0PageWidth);
        heading->setFont(Bold(heading->font()));
        outer->addWidget(heading);
        QLabel* body = Lesson0Label(QString::fromLatin1(b.body), QString::fromUtf8(b.bodyText), this, Lesson0PageWidth - 16);
        body->setContentsMargins(0, 0, 0, 0);
        auto* indented = new QHBoxLayout;
        indented->addSpacing(16);
        indented->addWidget(body);
        outer->addLayout(indented);
    }

    auto* command1 = NamedButton(QStringLiteral("Command1"), QStringLiteral("次ページ>>"), this);
    auto* command2 = NamedButton(QStringLiteral("Command2"), QStringLiteral("<<前ページ"), this);
    auto* command3 = NamedButton(QStringLiteral("Command3"), QStringLiteral("目次へ"), this);
    AddLesson0PageButtons(outer, command2, command1, command3);
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
    LoadLesson0Page(this);
}

void F_hantei::Command1_Click()
{
    CloseLesson0Page(m_ctx, *this, Lesson0Page::Hantei, Lesson0Turn::Next);
}

void F_hantei::Command2_Click()
{
    CloseLesson0Page(m_ctx, *this, Lesson0Page::Hantei, Lesson0Turn::Previous);
}

void F_hantei::Command3_Click()
{
    CloseLesson0Page(m_ctx, *this, Lesson0Page::Hantei, Lesson0Turn::Menu);
}

} // namespace morvela
