#include "ui/PictureBox.h"

#include "core/ProgramFolder.h"
#include "ui/KeyboardPicture.h"
#include "ui/PictureCheck.h"

#include <QColor>
#include <QFile>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

// Outside any namespace, as the resource's initialiser must be named.
static void initKeyboardFingerprint()
{
    Q_INIT_RESOURCE(keyboard_fingerprint);
}

namespace morvela {

namespace {

// Whether `path` holds, byte for byte, the keyboard picture the build drew.
bool isBuiltKeyboardPicture(const QString& path)
{
    // The fingerprint is in a static library; naming its initialiser keeps
    // the linker from leaving it out.
    static const QByteArray built = [] {
        initKeyboardFingerprint();
        QFile file(QStringLiteral(":/morvela/keyboard/Keyboard.bmp.sha256"));
        return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray();
    }();
    QFile file(path);
    return !built.isEmpty() && file.open(QIODevice::ReadOnly) && KeyboardPictureFingerprint(file.readAll()) == built;
}

} // namespace

PictureBox::PictureBox(QWidget* parent, QSize designSize) : QLabel(parent), m_designSize(designSize)
{
    setAlignment(Qt::AlignCenter);
}

bool PictureBox::loadPicture(const ProgramFolder& folder, const QString& name)
{
    // A picture cut short would show as a black block: none is better.
    const QString path = folder.find(name);
    const QImage image = path.isEmpty() ? QImage() : ReadPicture(path, m_designSize, nullptr);
    if (image.isNull()) {
        m_file = QPixmap();
        m_drawsKeyboard = false;
        clear();
        return false;
    }
    m_file = QPixmap::fromImage(image);
    m_drawsKeyboard = image.size() == KeyboardPictureSize && KeyboardPictureFontInstalled()
        && isBuiltKeyboardPicture(path);
    const QPixmap picture = pictureForScreen();
    setPixmap(picture);
    setFixedSize(picture.deviceIndependentSize().toSize());
    return true;
}

QPixmap PictureBox::pictureForScreen() const
{
    return m_drawsKeyboard ? QPixmap::fromImage(DrawKeyboardPicture(devicePixelRatioF())) : m_file;
}

void PictureBox::setKeyMark(const KeyMark& mark)
{
    if (mark == m_mark)
        return;
    m_mark = mark;
    update();
}

void PictureBox::setKeyFills(QList<KeyOverlay> fills)
{
    m_fills = std::move(fills);
    update();
}

namespace {

// The ring round a marked key: a strong colour no finger of the picture
// has, so the eye finds it at once.
const QColor MarkRing(0xD8, 0x1B, 0x1B);


// The finger's name on a tab of the finger's own colour, over the key (under
// it on the top row), kept inside the picture.
void drawFingerTab(QPainter& p, const KeyCap& key, const QRectF& picture)
{
    QFont font = p.font();
    font.setPixelSize(13);
    font.setBold(true);
    p.setFont(font);
    const QFontMetricsF fm(font);
    const QString name = FingerName(key.finger);
    const QSizeF size(fm.horizontalAdvance(name) + 12, fm.height() + 4);
    const QRectF face = key.face;
    QPointF topLeft(face.center().x() - size.width() / 2, face.top() - size.height() - 3);
    if (topLeft.y() < picture.top() + 1)
        topLeft.setY((key.lower.isEmpty() ? face.bottom() : key.lower.bottom()) + 3);
    topLeft.setX(qBound(picture.left() + 1, topLeft.x(), picture.right() - size.width() - 1));
    const QRectF tab(topLeft, size);
    p.setPen(QPen(MarkRing, 2));
    p.setBrush(QColor(QRgb(FingerColour(key.finger))));
    p.drawRoundedRect(tab, 5, 5);
    p.setPen(QColor(0x22, 0x22, 0x22));
    p.drawText(tab, Qt::AlignCenter, name);
}

} // namespace

void PictureBox::paintEvent(QPaintEvent* e)
{
    // The window may have moved to a screen of another pixel ratio.
    if (m_drawsKeyboard && pixmap().devicePixelRatio() != devicePixelRatioF())
        setPixmap(pictureForScreen());
    QLabel::paintEvent(e);
    if ((!m_mark && m_fills.isEmpty()) || pixmap().isNull())
        return;
    // The layout is in the pixels of the picture as drawn; the mark follows
    // the picture wherever and at whatever size it is shown.
    const QSizeF shown = pixmap().deviceIndependentSize();
    const QPointF at((width() - shown.width()) / 2, (height() - shown.height()) / 2);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.translate(at);
    p.scale(shown.width() / JisKeyboard::PictureSize.width(), shown.height() / JisKeyboard::PictureSize.height());
    const QRectF picture(QPointF(0, 0), QSizeF(JisKeyboard::PictureSize));
    p.setPen(Qt::NoPen);
    for (const KeyOverlay& fill : std::as_const(m_fills)) {
        if (fill.key) {
            p.setBrush(fill.colour);
            p.drawPath(KeyOutline(*fill.key));
        }
    }
    for (const KeyCap* key : {m_mark.key, m_mark.shift}) {
        if (!key)
            continue;
        const QPainterPath shape = KeyOutline(*key);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(0xFF, 0xFF, 0xFF, 200), 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(shape);
        p.setPen(QPen(MarkRing, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(shape);
    }
    for (const KeyCap* key : {m_mark.key, m_mark.shift}) {
        if (key)
            drawFingerTab(p, *key, picture);
    }
}

} // namespace morvela
