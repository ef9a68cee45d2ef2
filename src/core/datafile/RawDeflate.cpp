#include "core/datafile/RawDeflate.h"

#include "core/base/OrlentaError.h"

#include <cerrno>
#include <isa-l/igzip_lib.h>
#include <memory>
#include <vector>

namespace orlenta {

namespace {

constexpr size_t kBufferSize = 1 << 18;

// The working memory ISA-L asks for at each level; level 0 needs none.
size_t LevelBufferSize(int level) {
    switch (level) {
    case 1: return ISAL_DEF_LVL1_DEFAULT;
    case 2: return ISAL_DEF_LVL2_DEFAULT;
    case 3: return ISAL_DEF_LVL3_DEFAULT;
    default: return 0;
    }
}

} // namespace

bool InflateRaw(std::FILE* in, std::FILE* out, TInflateInspector* inspector) {
    // The state holds the 32 KiB window and the decoding tables: too large for the stack.
    auto state = std::make_unique<inflate_state>();
    isal_inflate_init(state.get());
    state->crc_flag = ISAL_DEFLATE; // raw: no header, no trailer, no checksum
    std::vector<unsigned char> input(kBufferSize);
    std::vector<unsigned char> output(kBufferSize);
    bool outputFilled = false;
    for (;;) {
        // A call that filled the output may have left the rest of the stream in the state's bit
        // buffer: call again before asking for input, or the end could pass for truncation.
        if (state->avail_in == 0 && !outputFilled) {
            const size_t read = std::fread(input.data(), 1, input.size(), in);
            if (read == 0)
                return false; // the data ended (or failed) before the final block
            state->next_in = input.data();
            state->avail_in = static_cast<uint32_t>(read);
        }
        state->next_out = output.data();
        state->avail_out = static_cast<uint32_t>(output.size());
        if (isal_inflate(state.get()) < 0)
            return false; // an invalid block type, code, length or distance
        const size_t produced = output.size() - state->avail_out;
        if (produced > 0) {
            const char* data = reinterpret_cast<const char*>(output.data());
            if (inspector != nullptr)
                inspector->Inspect(data, produced);
            if (std::fwrite(data, 1, produced, out) != produced)
                return false;
        }
        // Whatever follows the final block is ignored.
        if (state->block_state == ISAL_BLOCK_FINISH) {
            if (inspector != nullptr)
                inspector->End();
            return true;
        }
        outputFilled = state->avail_out == 0;
    }
}

void DeflateRaw(std::FILE* in, TByteSink& out, int level) {
    auto stream = std::make_unique<isal_zstream>();
    isal_deflate_init(stream.get());
    std::vector<unsigned char> levelBuffer(LevelBufferSize(level));
    stream->level = static_cast<uint32_t>(level);
    stream->level_buf = levelBuffer.empty() ? nullptr : levelBuffer.data();
    stream->level_buf_size = static_cast<uint32_t>(levelBuffer.size());
    stream->gzip_flag = IGZIP_DEFLATE;
    std::vector<unsigned char> input(kBufferSize);
    std::vector<unsigned char> output(kBufferSize);
    do {
        const size_t read = std::fread(input.data(), 1, input.size(), in);
        if (read < input.size()) {
            if (std::ferror(in))
                throw EOrlentaError("Cannot read file. " +
                                    SystemErrorText(errno != 0 ? errno : EIO));
            stream->end_of_stream = 1;
        }
        stream->next_in = input.data();
        stream->avail_in = static_cast<uint32_t>(read);
        do {
            stream->next_out = output.data();
            stream->avail_out = static_cast<uint32_t>(output.size());
            if (isal_deflate(stream.get()) != COMP_OK)
                throw EOrlentaError(kCompressionFailed);
            const size_t produced = output.size() - stream->avail_out;
            if (produced > 0)
                out.Write(reinterpret_cast<const char*>(output.data()), produced);
        } while (stream->avail_out == 0);
    } while (stream->internal_state.state != ZSTATE_END);
}

} // namespace orlenta
