// Arbitrary bytes as a RIFF/WAVE clip: the chunk walk, the clip's change tracking and the data
// region a player would hand to the device.
#include "audio/WaveStorage.h"
#include "audio/WaveUtils.h"
#include "fuzz/FuzzInput.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TWave wave;
    int changes = 0;
    wave.setOnChange([&changes](TWave*) { ++changes; });
    wave.write(data, qint64(size));
    FUZZ_CHECK(changes == 1); // any write counts, even of no bytes

    const bool valid = wave.Validate();
    FUZZ_CHECK(wave.position() == 0);
    FUZZ_CHECK(wave.Validate() == valid); // cached
    if (!valid) {
        FUZZ_CHECK(wave.DataSize() == 0 && wave.DataOffset() == 0 && wave.WaveFormat() == nullptr);
        return 0;
    }

    // The data region never reaches past the bytes present; reading all of it must be safe.
    const qint64 offset = wave.DataOffset();
    const qint64 length = wave.DataSize();
    FUZZ_CHECK(offset >= 0 && offset + length <= wave.size());
    FUZZ_CHECK(wave.WaveFormat() != nullptr && wave.WaveFormat()->size() >= 18);
    const int bits = wave.WaveFormat()->format().bitsPerSample;
    const int level = PeakLevel(wave.Data(), quint32(length), bits);
    FUZZ_CHECK(level >= -1 && level <= 100);

    // Overwriting one byte makes the clip dirty again and notifies once more.
    const char zero = 0;
    wave.seek(0, TStream::Origin::Beginning);
    wave.write(&zero, 1);
    FUZZ_CHECK(changes == 2 && wave.Dirty());
    return 0;
}
