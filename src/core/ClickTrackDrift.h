#pragma once

namespace morvela {

// Where an output's reports put its frame 0 on the steady clock, as a line
// fitted to many of them, the older ones counting less and less. One report
// can be a whole server block off (a sound graph that counts what it has
// played in blocks of tens of milliseconds reports in those steps), so no
// single report is believed; the line shows where frame 0 lies and how the
// output's clock runs against the steady one, and how sure that is.
class ClickTrackDrift {
public:
    // A report's weight falls to 1/e this long after it was made: long
    // enough to hold a dozen reports of a server that reports every second
    // and a half, short enough to follow a clock that runs off.
    static constexpr double FadeNs = 20e9;

    void clear();
    // A report made at `atNs`: frame 0 was heard at `zeroNs`.
    void add(double atNs, double zeroNs);

    bool empty() const { return m_weight == 0; }
    // Enough reports, spread over enough time, to draw a line.
    bool lineKnown() const;
    // Where frame 0 lies by the reports, seen at `atNs`: the line where it
    // is known, else the reports' mean.
    double zeroAt(double atNs) const;
    // How far zeroAt(atNs) may be off: the reports' scatter about the line,
    // carried to `atNs` along a slope that may be off as much. Their errors
    // are not taken as independent (an account that falls behind between
    // reports and snaps back is off the same way for a second and more), so
    // many reports make the line no surer than their scatter. Very large
    // while no line is known.
    double uncertaintyAt(double atNs) const;

private:
    struct Line {
        double meanT, meanZ, spreadT, slope, residual;
    };
    Line line() const;

    // Times in seconds and zeros in milliseconds from the first report, so
    // the sums keep their precision over hours.
    double m_originNs = 0;
    double m_originZeroNs = 0;
    double m_lastT = 0;
    double m_weight = 0;
    double m_t = 0, m_z = 0, m_tt = 0, m_tz = 0, m_zz = 0;
    int m_reports = 0;
};

} // namespace morvela
