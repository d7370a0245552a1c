#include "CMp4Writer.h"

#include <QIODevice>
#include <QImage>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

namespace {

constexpr int kIoBufferSize = 1 << 16;

QString AvError(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromLocal8Bit(text);
}

int WritePacket(void* opaque, uint8_t* buf, int size) {
    auto* device = static_cast<QIODevice*>(opaque);
    // A short write (full disk) must fail the file, not end it quietly.
    return device->write(reinterpret_cast<const char*>(buf), size) == size ? size : AVERROR(EIO);
}

int64_t Seek(void* opaque, int64_t offset, int whence) {
    auto* device = static_cast<QIODevice*>(opaque);
    switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE:
        return device->size();
    case SEEK_SET:
        break;
    case SEEK_CUR:
        offset += device->pos();
        break;
    case SEEK_END:
        offset += device->size();
        break;
    default:
        return AVERROR(EINVAL);
    }
    return device->seek(offset) ? offset : AVERROR(EIO);
}

} // namespace

struct CMp4Writer::Impl {
    AVFormatContext* format = nullptr;
    AVCodecContext* encoder = nullptr;
    AVStream* stream = nullptr;
    AVIOContext* io = nullptr;
    SwsContext* scaler = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    int width = 0, height = 0;
    int64_t next = 0;
    bool headerWritten = false;

    ~Impl() {
        sws_freeContext(scaler);
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&encoder);
        if (io) {
            av_freep(&io->buffer);
            avio_context_free(&io);
        }
        if (format)
            format->pb = nullptr;
        avformat_free_context(format);
    }
};

CMp4Writer::CMp4Writer() : d(std::make_unique<Impl>()) {}

CMp4Writer::~CMp4Writer() = default;

bool CMp4Writer::Open(QIODevice* device, int width, int height, int fps, QString* error) {
    auto fail = [error](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    if (width < 2 || height < 2 || width % 2 || height % 2)
        return fail(QStringLiteral("An MP4 needs an even width and height."));
    d->width = width;
    d->height = height;
    // Failures come back as messages; the encoder's statistics are not for the user's terminal.
    av_log_set_level(AV_LOG_ERROR);
    // Debian's libavcodec reaches libx264; another build may carry only a different encoder.
    const AVCodec* codec = avcodec_find_encoder_by_name("libx264");
    if (!codec)
        codec = avcodec_find_encoder(AV_CODEC_ID_H264);
    if (!codec)
        return fail(QStringLiteral("No H.264 encoder is available: this FFmpeg (libavcodec) was "
                                   "built without one (libx264)."));
    int rc = avformat_alloc_output_context2(&d->format, nullptr, "mp4", nullptr);
    if (rc < 0 || !d->format)
        return fail(QStringLiteral("MP4 output cannot be set up: %1").arg(AvError(rc)));
    d->encoder = avcodec_alloc_context3(codec);
    if (!d->encoder)
        return fail(QStringLiteral("The H.264 encoder cannot be allocated."));
    AVCodecContext* enc = d->encoder;
    enc->width = width;
    enc->height = height;
    enc->time_base = AVRational{1, fps};
    enc->framerate = AVRational{fps, 1};
    enc->pix_fmt = AV_PIX_FMT_YUV420P;
    enc->gop_size = 2 * fps;
    enc->color_range = AVCOL_RANGE_MPEG;
    enc->colorspace = AVCOL_SPC_BT709;
    enc->color_primaries = AVCOL_PRI_BT709;
    enc->color_trc = AVCOL_TRC_BT709;
    if (d->format->oformat->flags & AVFMT_GLOBALHEADER)
        enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    // Line art on white: a fast preset keeps an export within seconds, the quality factor
    // keeps thin lines free of smudges.
    av_opt_set(enc->priv_data, "preset", "veryfast", 0);
    av_opt_set(enc->priv_data, "crf", "20", 0);
    rc = avcodec_open2(enc, codec, nullptr);
    if (rc < 0)
        return fail(QStringLiteral("The H.264 encoder (%1) cannot be opened: %2")
                        .arg(QString::fromLatin1(codec->name), AvError(rc)));
    d->stream = avformat_new_stream(d->format, nullptr);
    if (!d->stream || avcodec_parameters_from_context(d->stream->codecpar, enc) < 0)
        return fail(QStringLiteral("The MP4 stream cannot be set up."));
    d->stream->time_base = enc->time_base;

    auto* buffer = static_cast<unsigned char*>(av_malloc(kIoBufferSize));
    d->io = buffer
                ? avio_alloc_context(buffer, kIoBufferSize, 1, device, nullptr, WritePacket, Seek)
                : nullptr;
    if (!d->io) {
        av_free(buffer);
        return fail(QStringLiteral("Out of memory for the MP4 output."));
    }
    d->format->pb = d->io;
    d->format->flags |= AVFMT_FLAG_CUSTOM_IO;
    rc = avformat_write_header(d->format, nullptr);
    if (rc < 0)
        return fail(QStringLiteral("The MP4 header cannot be written: %1").arg(AvError(rc)));
    d->headerWritten = true;

    // QImage's RGB32 is B, G, R, X in memory on this little-endian machine.
    d->scaler = sws_getContext(width, height, AV_PIX_FMT_BGRA, width, height, AV_PIX_FMT_YUV420P,
                               SWS_BILINEAR, nullptr, nullptr, nullptr);
    const int* coefficients = sws_getCoefficients(SWS_CS_ITU709);
    if (d->scaler)
        sws_setColorspaceDetails(d->scaler, coefficients, 1, coefficients, 0, 0, 1 << 16, 1 << 16);
    d->frame = av_frame_alloc();
    d->packet = av_packet_alloc();
    if (!d->scaler || !d->frame || !d->packet)
        return fail(QStringLiteral("Out of memory for the MP4 frames."));
    d->frame->format = AV_PIX_FMT_YUV420P;
    d->frame->width = width;
    d->frame->height = height;
    rc = av_frame_get_buffer(d->frame, 0);
    if (rc < 0)
        return fail(QStringLiteral("Out of memory for the MP4 frames: %1").arg(AvError(rc)));
    return true;
}

bool CMp4Writer::Encode(bool flush, QString* error) {
    int rc = avcodec_send_frame(d->encoder, flush ? nullptr : d->frame);
    while (rc >= 0) {
        rc = avcodec_receive_packet(d->encoder, d->packet);
        if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF)
            return true;
        if (rc < 0)
            break;
        // Every frame lasts one frame time. Without it the file's edit list ends where the last
        // frame starts, and players drop that frame.
        if (d->packet->duration <= 0)
            d->packet->duration = 1;
        av_packet_rescale_ts(d->packet, d->encoder->time_base, d->stream->time_base);
        d->packet->stream_index = d->stream->index;
        rc = av_interleaved_write_frame(d->format, d->packet);
    }
    if (error)
        *error = QStringLiteral("The MP4 could not be written: %1").arg(AvError(rc));
    return false;
}

bool CMp4Writer::AddFrame(const QImage& frame, QString* error) {
    if (!d->scaler || frame.width() != d->width || frame.height() != d->height) {
        if (error)
            *error = QStringLiteral("MP4 frame of the wrong size");
        return false;
    }
    const QImage img =
        frame.format() == QImage::Format_RGB32 || frame.format() == QImage::Format_ARGB32
            ? frame
            : frame.convertToFormat(QImage::Format_RGB32);
    if (av_frame_make_writable(d->frame) < 0)
        return false;
    const uint8_t* src[1] = {img.constBits()};
    const int stride[1] = {static_cast<int>(img.bytesPerLine())};
    sws_scale(d->scaler, src, stride, 0, d->height, d->frame->data, d->frame->linesize);
    d->frame->pts = d->next++;
    return Encode(false, error);
}

bool CMp4Writer::Close(QString* error) {
    if (!d->headerWritten || !d->scaler)
        return false;
    if (!Encode(true, error))
        return false;
    const int rc = av_write_trailer(d->format);
    avio_flush(d->io);
    if (rc < 0 || d->io->error < 0) {
        if (error)
            *error = QStringLiteral("The MP4 could not be finished: %1")
                         .arg(AvError(rc < 0 ? rc : d->io->error));
        return false;
    }
    return true;
}
