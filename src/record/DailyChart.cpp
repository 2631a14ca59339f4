#include "record/DailyChart.h"

#include <QDateTimeAxis>
#include <QEvent>
#include <QLineSeries>
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

void DailyChart::showDays(const QList<DailyPoint>& days)
{
    QList<QPointF> points;
    double top = m_figure == Figure::Accuracy ? 100 : 60;
    for (const DailyPoint& day : days) {
        const double value = m_figure == Figure::Speed ? day.speedPerMinute : day.accuracy * 100;
        points.append({double(day.day.startOfDay().toMSecsSinceEpoch()), value});
        top = std::max(top, value);
    }
    m_series->replace(points);
    // One day alone still gets a span: a day either side.
    const QDate first = days.isEmpty() ? QDate::currentDate() : days.first().day;
    const QDate last = days.isEmpty() ? first : days.last().day;
    m_days->setRange(first.addDays(-1).startOfDay(), last.addDays(1).startOfDay());
    m_days->setTickCount(int(std::clamp<qint64>(first.daysTo(last) + 3, 3, 7)));
    m_values->setRange(0, m_figure == Figure::Accuracy ? 100 : std::ceil(top / 50) * 50);
    m_values->setTickCount(6);
    setAccessibleDescription(days.isEmpty() ? QStringLiteral("記録がありません")
                                            : QStringLiteral("%1日分").arg(days.size()));
}

QList<QPointF> DailyChart::points() const
{
    return m_series->points();
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
    setBackgroundBrush(pal.window());
}

} // namespace morvela
