#include "core/ClickTrackDrift.h"

#include <algorithm>
#include <cmath>

namespace morvela {

namespace {

// A line needs this many reports over at least this long: fewer, and one
// report a block off tilts it.
constexpr int LineReports = 4;
constexpr double LineSpanS = 2.0;

} // namespace

void ClickTrackDrift::clear()
{
    *this = ClickTrackDrift();
}

void ClickTrackDrift::add(double atNs, double zeroNs)
{
    if (m_reports == 0) {
        m_originNs = atNs;
        m_originZeroNs = zeroNs;
    }
    const double t = (atNs - m_originNs) / 1e9;
    const double z = (zeroNs - m_originZeroNs) / 1e6;
    const double fade = m_reports == 0 ? 0.0 : std::exp(-std::max(0.0, t - m_lastT) * 1e9 / FadeNs);
    m_weight = m_weight * fade + 1;
    m_t = m_t * fade + t;
    m_z = m_z * fade + z;
    m_tt = m_tt * fade + t * t;
    m_tz = m_tz * fade + t * z;
    m_zz = m_zz * fade + z * z;
    m_lastT = std::max(m_lastT, t);
    ++m_reports;
}

ClickTrackDrift::Line ClickTrackDrift::line() const
{
    Line l{};
    l.meanT = m_t / m_weight;
    l.meanZ = m_z / m_weight;
    l.spreadT = std::max(0.0, m_tt - m_weight * l.meanT * l.meanT);
    const double spreadTZ = m_tz - m_weight * l.meanT * l.meanZ;
    const double spreadZ = std::max(0.0, m_zz - m_weight * l.meanZ * l.meanZ);
    l.slope = l.spreadT > 0 ? spreadTZ / l.spreadT : 0.0;
    const double squares = std::max(0.0, spreadZ - l.slope * spreadTZ);
    l.residual = std::sqrt(squares / std::max(1.0, m_weight - 2));
    return l;
}

bool ClickTrackDrift::lineKnown() const
{
    if (m_reports < LineReports || m_weight < LineReports - 0.5)
        return false;
    // The reports' spread in time (for reports evenly over a span, the
    // span over the root of 12): a line drawn through a moment says nothing
    // of a clock's rate.
    return std::sqrt(line().spreadT / m_weight) >= LineSpanS / std::sqrt(12.0);
}

double ClickTrackDrift::zeroAt(double atNs) const
{
    if (empty())
        return atNs;
    const Line l = line();
    const double t = (atNs - m_originNs) / 1e9;
    const double z = lineKnown() ? l.meanZ + l.slope * (t - l.meanT) : l.meanZ;
    return m_originZeroNs + z * 1e6;
}

double ClickTrackDrift::uncertaintyAt(double atNs) const
{
    if (!lineKnown())
        return 1e18;
    const Line l = line();
    const double t = (atNs - m_originNs) / 1e9 - l.meanT;
    return l.residual * std::sqrt(1 + t * t * m_weight / l.spreadT) * 1e6;
}

} // namespace morvela
