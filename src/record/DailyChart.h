#pragma once

#include "record/HistoryDatabase.h"

#include <QChartView>

class QDateTimeAxis;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

namespace morvela {

// A point of its own on a chart, such as the day of a best time.
struct ChartMark {
    QDate day;
    double value = 0;
    QString label;
    friend bool operator==(const ChartMark&, const ChartMark&) = default;
};

// One figure of the record over the days, as a line with a dot per day.
class DailyChart final : public QChartView {
    Q_OBJECT
public:
    enum class Figure { Speed, Accuracy };
    DailyChart(Figure figure, QWidget* parent = nullptr);

    void showDays(const QList<DailyPoint>& days, const QList<ChartMark>& marks = {});
    // The values drawn, one per day (for tests and screen readers).
    QList<QPointF> points() const;
    // The marks drawn, as they are drawn.
    QList<ChartMark> marks() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void followPalette();
    void colourMark(QScatterSeries* mark) const;

    Figure m_figure;
    QLineSeries* m_series = nullptr;
    // One series a mark: a series' points share one label format.
    QList<QScatterSeries*> m_marks;
    QDateTimeAxis* m_days = nullptr;
    QValueAxis* m_values = nullptr;
};

} // namespace morvela
