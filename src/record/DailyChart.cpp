#include "record/DailyChart.h"

#include <QDateTimeAxis>
#include <QEvent>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace morvela {

DailyChart::DailyChart(Figure figure, QWidget* parent) : QChartView(parent), m_figure(figure)
{
    auto* chart = new QChart;
    chart->legend()->hide();
    chart->setTitle(figure == Figure::Speed ? QStringLiteral("速度（字/分）") : QStringLiteral("正確さ（%）"));
    chart->setMargins(QMargins(4, 4, 4, 4));
    m_series = new QLineSeries(chart);
    m_series->setPointsVisible(true);
    chart->addSeries(m_series);

    m_days = new QDateTimeAxis(chart);
    m_days->setFormat(QStringLiteral("M/d"));
    m_values = new QValueAxis(chart);
    m_values->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(m_days, Qt::AlignBottom);
    chart->addAxis(m_values, Qt::AlignLeft);
    m_series->attachAxis(m_days);
    m_series->attachAxis(m_values);

    setChart(chart);
    setRenderHint(QPainter::Antialiasing);
    setAccessibleName(chart->title());
    followPalette();
    showDays({});
}

void DailyChart::showDays(const QList<DailyPoint>& days, const QList<ChartMark>& marks)
{
    auto at = [](const QDate& day) { return double(day.startOfDay().toMSecsSinceEpoch()); };
    QList<QPointF> points;
    double top = m_figure == Figure::Accuracy ? 100 : 60;
    for (const DailyPoint& day : days) {
        const double value = m_figure == Figure::Speed ? day.speedPerMinute : day.accuracy * 100;
        points.append({at(day.day), value});
        top = std::max(top, value);
    }
    m_series->replace(points);

    for (QScatterSeries* old : std::as_const(m_marks)) {
        chart()->removeSeries(old);
        delete old;
    }
    m_marks.clear();
    QDate first = days.isEmpty() ? QDate() : days.first().day;
    QDate last = days.isEmpty() ? QDate() : days.last().day;
    for (const ChartMark& mark : marks) {
        auto* series = new QScatterSeries(chart());
        series->setMarkerShape(QScatterSeries::MarkerShapeStar);
        series->setMarkerSize(16);
        series->append(at(mark.day), mark.value);
        // A label format without placeholders is drawn as it stands.
        series->setPointLabelsFormat(mark.label);
        series->setPointLabelsVisible(true);
        series->setPointLabelsClipping(false);
        colourMark(series);
        chart()->addSeries(series);
        series->attachAxis(m_days);
        series->attachAxis(m_values);
        m_marks.append(series);
        top = std::max(top, mark.value);
        first = first.isValid() ? std::min(first, mark.day) : mark.day;
        last = last.isValid() ? std::max(last, mark.day) : mark.day;
    }

    // One day alone still gets a span: a day either side.
    if (!first.isValid())
        first = last = QDate::currentDate();
    m_days->setRange(first.addDays(-1).startOfDay(), last.addDays(1).startOfDay());
    m_days->setTickCount(int(std::clamp<qint64>(first.daysTo(last) + 3, 3, 7)));
    // Room above the highest value for a mark and its label.
    m_values->setRange(0, m_figure == Figure::Accuracy ? 100 : std::ceil(top * 1.1 / 50) * 50);
    m_values->setTickCount(6);
    setAccessibleDescription(days.isEmpty() ? QStringLiteral("記録がありません")
                                            : QStringLiteral("%1日分").arg(days.size()));
}

QList<QPointF> DailyChart::points() const
{
    return m_series->points();
}

QList<ChartMark> DailyChart::marks() const
{
    QList<ChartMark> drawn;
    for (const QScatterSeries* mark : m_marks) {
        for (const QPointF& p : mark->points()) {
            const QDate day = QDateTime::fromMSecsSinceEpoch(qint64(p.x())).date();
            drawn.append(ChartMark{day, p.y(), mark->pointLabelsFormat()});
        }
    }
    return drawn;
}

void DailyChart::changeEvent(QEvent* event)
{
    QChartView::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        followPalette();
}

void DailyChart::followPalette()
{
    // The chart's own themes know nothing of the desktop's colours: take
    // the window's, so a dark desktop gets a dark chart.
    const QPalette pal = palette();
    QChart* c = chart();
    c->setBackgroundBrush(pal.base());
    c->setBackgroundPen(QPen(pal.mid().color()));
    c->setTitleBrush(pal.text());
    for (QAbstractAxis* axis : {static_cast<QAbstractAxis*>(m_days), static_cast<QAbstractAxis*>(m_values)}) {
        axis->setLabelsBrush(pal.text());
        axis->setLinePenColor(pal.mid().color());
        axis->setGridLineColor(pal.midlight().color());
    }
    m_series->setPen(QPen(pal.highlight().color(), 2));
    m_series->setBrush(pal.highlight());
    for (QScatterSeries* mark : std::as_const(m_marks))
        colourMark(mark);
    setBackgroundBrush(pal.window());
}

void DailyChart::colourMark(QScatterSeries* mark) const
{
    // A mark stands apart from the days' line.
    const QPalette pal = palette();
    mark->setPen(QPen(pal.text().color(), 1));
    mark->setBrush(pal.link());
    mark->setPointLabelsColor(pal.text().color());
}

} // namespace morvela
