#include "core/ClickSamples.h"

#include <QtEndian>

#include <cmath>

namespace morvela {

QList<float> ClickSamples::fromWav(const QByteArray& wav, int* sampleRate)
{
    auto u16 = [&](qsizetype at) { return qFromLittleEndian<quint16>(wav.constData() + at); };
    auto u32 = [&](qsizetype at) { return qFromLittleEndian<quint32>(wav.constData() + at); };
    if (wav.size() < 12 || !wav.startsWith("RIFF") || wav.mid(8, 4) != "WAVE")
        return {};
    int channels = 0;
    int rate = 0;
    for (qsizetype at = 12; at + 8 <= wav.size();) {
        const QByteArray id = wav.mid(at, 4);
        const qsizetype size = u32(at + 4);
        const qsizetype body = at + 8;
        if (body + size > wav.size())
            return {};
        if (id == "fmt " && size >= 16) {
            if (u16(body) != 1 || u16(body + 14) != 16) // PCM, 16 bits
                return {};
            channels = u16(body + 2);
            rate = int(u32(body + 4));
        } else if (id == "data" && channels > 0 && rate > 0) {
            QList<float> samples;
            const qsizetype frameBytes = 2 * channels;
            samples.reserve(size / frameBytes);
            for (qsizetype p = body; p + frameBytes <= body + size; p += frameBytes)
                samples.append(qFromLittleEndian<qint16>(wav.constData() + p) / 32768.0f);
            *sampleRate = rate;
            return samples;
        }
        at = body + size + (size & 1); // chunks are padded to even sizes
    }
    return {};
}

QList<float> ClickSamples::resampled(const QList<float>& samples, int fromRate, int toRate)
{
    if (fromRate == toRate || samples.isEmpty() || fromRate <= 0 || toRate <= 0)
        return samples;
    const qsizetype n = qsizetype(std::llround(double(samples.size()) * toRate / fromRate));
    QList<float> out;
    out.reserve(n);
    for (qsizetype i = 0; i < n; ++i) {
        const double at = double(i) * fromRate / toRate;
        const qsizetype j = qsizetype(at);
        const float next = j + 1 < samples.size() ? samples[j + 1] : 0.0f;
        out.append(float(samples[j] + (next - samples[j]) * (at - double(j))));
    }
    return out;
}

} // namespace morvela
