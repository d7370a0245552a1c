// The FFmpeg functions the MP4 writer calls, loaded on its first call instead of at start-up:
// FFmpeg's libraries bring about a hundred more shared libraries with them, and loading them
// took a good part of every start of the program, which rarely writes a video. Each function
// here has the library's own signature and forwards to it; when a library cannot be loaded,
// the calls fail as the library reports failures (null, a negative error code), and the writer
// says that no encoder could be opened.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <cerrno>
#include <dlfcn.h>

namespace {

enum Lib { Codec, Format, Util, Scale, kLibs };

#define QUIVRA_SONAME(name, major) "lib" name ".so." AV_STRINGIFY(major)

void* Library(Lib lib) {
    static void* handles[kLibs] = {};
    static const char* const names[kLibs] = {QUIVRA_SONAME("avcodec", LIBAVCODEC_VERSION_MAJOR),
                                             QUIVRA_SONAME("avformat", LIBAVFORMAT_VERSION_MAJOR),
                                             QUIVRA_SONAME("avutil", LIBAVUTIL_VERSION_MAJOR),
                                             QUIVRA_SONAME("swscale", LIBSWSCALE_VERSION_MAJOR)};
    if (!handles[lib])
        handles[lib] = dlopen(names[lib], RTLD_NOW | RTLD_LOCAL);
    return handles[lib];
}

template <class F> F* Resolve(Lib lib, const char* name) {
    void* handle = Library(lib);
    return handle ? reinterpret_cast<F*>(dlsym(handle, name)) : nullptr;
}

} // namespace

// Defines `name` with the header's signature: the real function, or `fail` without it.
#define QUIVRA_ON_DEMAND(lib, ret, fail, name, params, args)                                       \
    extern "C" ret name params {                                                                   \
        static auto* const real = Resolve<decltype(name)>(lib, #name);                             \
        if (!real)                                                                                 \
            return fail;                                                                           \
        return real args;                                                                          \
    }

#define NOTHING

QUIVRA_ON_DEMAND(Util, AVFrame*, nullptr, av_frame_alloc, (void), ())
QUIVRA_ON_DEMAND(Util, void, NOTHING, av_frame_free, (AVFrame * *frame), (frame))
QUIVRA_ON_DEMAND(Util, int, AVERROR(ENOSYS), av_frame_get_buffer, (AVFrame * frame, int align),
                 (frame, align))
QUIVRA_ON_DEMAND(Util, int, AVERROR(ENOSYS), av_frame_make_writable, (AVFrame * frame), (frame))
QUIVRA_ON_DEMAND(Util, void, NOTHING, av_free, (void* ptr), (ptr))
QUIVRA_ON_DEMAND(Util, void, NOTHING, av_freep, (void* ptr), (ptr))
QUIVRA_ON_DEMAND(Util, void*, nullptr, av_malloc, (size_t size), (size))
QUIVRA_ON_DEMAND(Util, void, NOTHING, av_log_set_level, (int level), (level))
QUIVRA_ON_DEMAND(Util, int, AVERROR(ENOSYS), av_opt_set,
                 (void* obj, const char* name, const char* val, int flags), (obj, name, val, flags))
QUIVRA_ON_DEMAND(Util, int, -1, av_strerror, (int errnum, char* errbuf, size_t size),
                 (errnum, errbuf, size))

QUIVRA_ON_DEMAND(Codec, AVPacket*, nullptr, av_packet_alloc, (void), ())
QUIVRA_ON_DEMAND(Codec, void, NOTHING, av_packet_free, (AVPacket * *pkt), (pkt))
QUIVRA_ON_DEMAND(Codec, void, NOTHING, av_packet_rescale_ts,
                 (AVPacket * pkt, AVRational src, AVRational dst), (pkt, src, dst))
QUIVRA_ON_DEMAND(Codec, AVCodecContext*, nullptr, avcodec_alloc_context3, (const AVCodec* codec),
                 (codec))
QUIVRA_ON_DEMAND(Codec, const AVCodec*, nullptr, avcodec_find_encoder, (enum AVCodecID id), (id))
QUIVRA_ON_DEMAND(Codec, const AVCodec*, nullptr, avcodec_find_encoder_by_name, (const char* name),
                 (name))
QUIVRA_ON_DEMAND(Codec, void, NOTHING, avcodec_free_context, (AVCodecContext * *ctx), (ctx))
QUIVRA_ON_DEMAND(Codec, int, AVERROR(ENOSYS), avcodec_open2,
                 (AVCodecContext * ctx, const AVCodec* codec, AVDictionary** options),
                 (ctx, codec, options))
QUIVRA_ON_DEMAND(Codec, int, AVERROR(ENOSYS), avcodec_parameters_from_context,
                 (AVCodecParameters * par, const AVCodecContext* ctx), (par, ctx))
QUIVRA_ON_DEMAND(Codec, int, AVERROR(ENOSYS), avcodec_receive_packet,
                 (AVCodecContext * ctx, AVPacket* pkt), (ctx, pkt))
QUIVRA_ON_DEMAND(Codec, int, AVERROR(ENOSYS), avcodec_send_frame,
                 (AVCodecContext * ctx, const AVFrame* frame), (ctx, frame))

QUIVRA_ON_DEMAND(Format, int, AVERROR(ENOSYS), av_interleaved_write_frame,
                 (AVFormatContext * s, AVPacket* pkt), (s, pkt))
QUIVRA_ON_DEMAND(Format, int, AVERROR(ENOSYS), av_write_trailer, (AVFormatContext * s), (s))
QUIVRA_ON_DEMAND(Format, int, AVERROR(ENOSYS), avformat_alloc_output_context2,
                 (AVFormatContext * *ctx, const AVOutputFormat* oformat, const char* formatName,
                  const char* filename),
                 (ctx, oformat, formatName, filename))
QUIVRA_ON_DEMAND(Format, void, NOTHING, avformat_free_context, (AVFormatContext * s), (s))
QUIVRA_ON_DEMAND(Format, AVStream*, nullptr, avformat_new_stream,
                 (AVFormatContext * s, const AVCodec* c), (s, c))
QUIVRA_ON_DEMAND(Format, int, AVERROR(ENOSYS), avformat_write_header,
                 (AVFormatContext * s, AVDictionary** options), (s, options))
QUIVRA_ON_DEMAND(Format, AVIOContext*, nullptr, avio_alloc_context,
                 (unsigned char* buffer, int size, int writeFlag, void* opaque,
                  int (*readPacket)(void*, uint8_t*, int), int (*writePacket)(void*, uint8_t*, int),
                  int64_t (*seek)(void*, int64_t, int)),
                 (buffer, size, writeFlag, opaque, readPacket, writePacket, seek))
QUIVRA_ON_DEMAND(Format, void, NOTHING, avio_context_free, (AVIOContext * *s), (s))
QUIVRA_ON_DEMAND(Format, void, NOTHING, avio_flush, (AVIOContext * s), (s))

QUIVRA_ON_DEMAND(Scale, void, NOTHING, sws_freeContext, (struct SwsContext * c), (c))
QUIVRA_ON_DEMAND(Scale, const int*, nullptr, sws_getCoefficients, (int colorspace), (colorspace))
QUIVRA_ON_DEMAND(Scale, struct SwsContext*, nullptr, sws_getContext,
                 (int srcW, int srcH, enum AVPixelFormat srcFormat, int dstW, int dstH,
                  enum AVPixelFormat dstFormat, int flags, SwsFilter* srcFilter,
                  SwsFilter* dstFilter, const double* param),
                 (srcW, srcH, srcFormat, dstW, dstH, dstFormat, flags, srcFilter, dstFilter, param))
QUIVRA_ON_DEMAND(Scale, int, -1, sws_scale,
                 (struct SwsContext * c, const uint8_t* const src[], const int srcStride[], int y,
                  int h, uint8_t* const dst[], const int dstStride[]),
                 (c, src, srcStride, y, h, dst, dstStride))
QUIVRA_ON_DEMAND(Scale, int, -1, sws_setColorspaceDetails,
                 (struct SwsContext * c, const int invTable[4], int srcRange, const int table[4],
                  int dstRange, int brightness, int contrast, int saturation),
                 (c, invTable, srcRange, table, dstRange, brightness, contrast, saturation))
