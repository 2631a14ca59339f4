#include "intro/RunLesson0.h"

#include "intro/F_Position.h"
#include "intro/F_hantei.h"
#include "intro/F_welcome.h"
#include "intro/Lesson0PageOrder.h"
#include "ui/AppContext.h"

namespace morvela {

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
        page = Lesson0PageFromResult(next);
    }
}

} // namespace morvela
