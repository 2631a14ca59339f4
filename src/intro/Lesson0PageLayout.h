#pragma once

#include "intro/Lesson0PageOrder.h"

#include <QFont>
#include <QString>

class QBoxLayout;
class QDialog;
class QLabel;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace morvela {

class LiveStrip;

class AppContext;

// What the three pages of Lesson 0 share: their width, their frame, their
// title and the way they are left.

// Every Lesson 0 page is this wide inside its margins: the keyboard picture
// fits, and the longest sentence of the speed test fits on one line.
constexpr int Lesson0PageWidth = 720;

// A named label; with `wrapWidth`, wrapped to that width.
QLabel* Lesson0Label(const QString& name, const QString& text, QWidget* parent, int wrapWidth = 0);

QFont Bold(QFont font);

// The page's outer layout: a fixed window that fits its text.
QVBoxLayout* Lesson0PageLayout(QDialog* page);

// Prev, next on the left, the menu on the right, as on every lesson page;
// a typing page's live strip in the room between them.
void AddLesson0PageButtons(QBoxLayout* into, QPushButton* previous, QPushButton* next, QPushButton* menu,
                           LiveStrip* strip = nullptr);

// The title, the size that fits the text, the centre of the screen.
void LoadLesson0Page(QDialog* page);

// The learner leaves `page` by `turn`: its effects carried out, the page
// closed with the page that comes next as its result.
void CloseLesson0Page(AppContext& ctx, QDialog& window, Lesson0Page page, Lesson0Turn turn);

} // namespace morvela
