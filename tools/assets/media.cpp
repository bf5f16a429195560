#include "media.h"

#include "art.h"
#include "bytes.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QtMath>

using namespace Qt::StringLiterals;

namespace media {

namespace {

bool writeFile(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = u"%1: %2"_s.arg(path, file.errorString());
        return false;
    }
    return true;
}

// The wait animation: eight dots on a ring, the bright one running clockwise.
QImage clipFrame(int frame)
{
    QImage image = art::canvas(16, 16, Qt::transparent);
    art::Painter p(&image);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 8; ++i) {
        const int age = (frame - i + 8) % 8; // 0 = the lead dot
        const qreal share = age >= 4 ? 0.0 : 1.0 - age / 4.0;
        const QColor c = QColor::fromRgbF(0.75 - share * 0.63, 0.84 - share * 0.40, 0.96 - share * 0.11);
        const qreal a = qDegreesToRadians(i * 45.0 - 90.0);
        p.setBrush(c);
        p.drawEllipse(QPointF(8 + std::cos(a) * 5.2, 8 + std::sin(a) * 5.2), 1.9, 1.9);
    }
    return image;
}

} // namespace

QByteArray alertWav()
{
    constexpr int rate = 22050;
    constexpr int samples = rate * 18 / 100; // 0.18 s
    constexpr int fade = rate * 8 / 1000;
    constexpr double tone = 1000.0;
    QByteArray pcm;
    pcm.reserve(samples * 2);
    for (int i = 0; i < samples; ++i) {
        const double envelope = qMin(1.0, qMin(i, samples - 1 - i) / double(fade));
        const double v = std::sin(2 * M_PI * tone * i / rate) * 0.45 * envelope;
        bytes::putLe16(pcm, quint16(qint16(qRound(v * 32767))));
    }
    QByteArray wav;
    wav.append("RIFF", 4);
    bytes::putLe32(wav, quint32(36 + pcm.size()));
    wav.append("WAVEfmt ", 8);
    bytes::putLe32(wav, 16);
    bytes::putLe16(wav, 1); // PCM
    bytes::putLe16(wav, 1); // mono
    bytes::putLe32(wav, rate);
    bytes::putLe32(wav, rate * 2);
    bytes::putLe16(wav, 2);
    bytes::putLe16(wav, 16);
    wav.append("data", 4);
    bytes::putLe32(wav, quint32(pcm.size()));
    wav.append(pcm);
    return wav;
}

bool encode(const QString &path, int frames, int fps, const FrameSource &source, const QStringList &outputArgs,
            bool rgba, QString *error)
{
    const QString ffmpeg = QStandardPaths::findExecutable(u"ffmpeg"_s);
    if (ffmpeg.isEmpty()) {
        *error = u"ffmpeg not found (install the Debian package ffmpeg)"_s;
        return false;
    }
    const QImage first = source(0);
    const QString part = path + u".part"_s;
    QStringList args = {u"-y"_s,          u"-loglevel"_s,    u"error"_s,        u"-f"_s,
                        u"rawvideo"_s,    u"-pix_fmt"_s,     rgba ? u"rgba"_s : u"rgb24"_s,
                        u"-video_size"_s, u"%1x%2"_s.arg(first.width()).arg(first.height()),
                        u"-framerate"_s,  QString::number(fps), u"-i"_s,   u"-"_s};
    args << outputArgs << part;

    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(ffmpeg, args);
    if (!process.waitForStarted()) {
        *error = u"cannot start ffmpeg: "_s + process.errorString();
        return false;
    }
    const QImage::Format format = rgba ? QImage::Format_RGBA8888 : QImage::Format_RGB888;
    for (int i = 0; i < frames; ++i) {
        const QImage frame = (i == 0 ? first : source(i)).convertToFormat(format);
        for (int y = 0; y < frame.height(); ++y)
            process.write(reinterpret_cast<const char *>(frame.constScanLine(y)), frame.width() * (rgba ? 4 : 3));
        if (!process.waitForBytesWritten(30000) && process.bytesToWrite() > 0)
            break;
    }
    process.closeWriteChannel();
    process.waitForFinished(120000);
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        *error = u"ffmpeg failed for %1: %2"_s.arg(path, QString::fromLocal8Bit(process.readAllStandardError()));
        QFile::remove(part);
        return false;
    }
    QFile::remove(path);
    if (!QFile::rename(part, path)) {
        *error = u"cannot rename %1"_s.arg(part);
        return false;
    }
    return true;
}

bool writeAll(const QString &dir, QString *error)
{
    const QDir root(dir);
    if (!root.mkpath(u"data/mpg"_s)) {
        *error = u"cannot create "_s + root.filePath(u"data/mpg"_s);
        return false;
    }
    if (!writeFile(root.filePath(u"data/alert.wav"_s), alertWav(), error))
        return false;

    const QStringList gif = {u"-filter_complex"_s,
                             u"[0:v]split[a][b];[a]palettegen=reserve_transparent=1[p];[b][p]paletteuse=alpha_threshold=128"_s,
                             u"-loop"_s, u"0"_s, u"-f"_s, u"gif"_s};
    if (!encode(root.filePath(u"mafy.a"_s), 8, 12, clipFrame, gif, true, error))
        return false;

    const QStringList wmv = {u"-c:v"_s, u"wmv2"_s, u"-b:v"_s, u"1500k"_s, u"-pix_fmt"_s, u"yuv420p"_s, u"-f"_s, u"asf"_s};
    const QStringList videos = {u"data/mpg/1.wmv"_s, u"data/mpg/3.wmv"_s};
    for (int which = 0; which < videos.size(); ++which) {
        const auto frame = [which](int i) { return videoFrame(which, i); };
        if (!encode(root.filePath(videos[which]), videoFrames(which), 25, frame, wmv, false, error))
            return false;
    }
    return true;
}

} // namespace media
