#pragma once

#include "record/HistoryDatabase.h"

#include <QChartView>

class QDateTimeAxis;
class QLineSeries;
class QValueAxis;

namespace morvela {

// One figure of the record over the days, as a line with a dot per day.
class DailyChart final : public QChartView {
    Q_OBJECT
public:
    enum class Figure { Speed, Accuracy };
    DailyChart(Figure figure, QWidget* parent = nullptr);

    void showDays(const QList<DailyPoint>& days);
    // The values drawn, one per day (for tests and screen readers).
    QList<QPointF> points() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void followPalette();

    Figure m_figure;
    QLineSeries* m_series = nullptr;
    QDateTimeAxis* m_days = nullptr;
    QValueAxis* m_values = nullptr;
};

} // namespace morvela
