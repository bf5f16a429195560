#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <functional>

// Sound, clip and videos of the program folder. The clip and the videos are encoded by ffmpeg from
// frames drawn here.
namespace media {

// A short beep as a 16-bit mono PCM WAV file.
QByteArray alertWav();

// Produces frame i (0-based) of a clip or video.
using FrameSource = std::function<QImage(int)>;

// Pipes frames to ffmpeg and writes the result to path (through a temporary file). The frames
// must all have the same size; rgba is kept for formats with transparency.
bool encode(const QString &path, int frames, int fps, const FrameSource &source, const QStringList &outputArgs,
            bool rgba, QString *error);

// The demonstration videos, in order: data/mpg/1.wmv (installing) and data/mpg/3.wmv (using).
int videoFrames(int which);
QImage videoFrame(int which, int frame);

// data/alert.wav, data/mpg/1.wmv, data/mpg/3.wmv and mafy.a under the program folder dir.
bool writeAll(const QString &dir, QString *error);

} // namespace media
