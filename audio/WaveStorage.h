#pragma once

// TWave: one complete RIFF/WAVE file held in a growable memory stream, which finds its format
// block and its sample data lazily and tells its owner when its content changes.

#include "audio/WaveUtils.h"

#include <functional>

// A growable stream over one heap block. Every change of capacity passes through reallocate(),
// which subclasses override to watch the memory.
class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    ~TMemoryStream() override;
    TMemoryStream(const TMemoryStream&) = delete;
    TMemoryStream& operator=(const TMemoryStream&) = delete;

    qint64 read(void* buffer, qint64 count) override;
    qint64 write(const void* buffer, qint64 count) override;
    qint64 seek(qint64 offset, Origin origin) override;
    qint64 size() const override { return m_size; }

    virtual void setSize(qint64 newSize);
    void clear();
    // Replaces the content with the whole of `source`, read from its start.
    void loadFromStream(TStream& source);
    // Writes the whole content to `destination` at its current position.
    void saveToStream(TStream& destination) const;

    char* memory() const { return m_memory; }
    qint64 capacity() const { return m_capacity; }

protected:
    // Returns the block for `newCapacity` bytes (rounded up to the growth step); may move it.
    virtual char* reallocate(qint64& newCapacity);
    // Called once the new block is in place.
    virtual void reallocated() {}

private:
    void setCapacity(qint64 newCapacity);

    char* m_memory = nullptr;
    qint64 m_size = 0;
    qint64 m_position = 0;
    qint64 m_capacity = 0;
};

class TWave : public TMemoryStream {
public:
    using ChangeEvent = std::function<void(TWave* sender)>;

    TWave() = default;

    qint64 write(const void* buffer, qint64 count) override;

    // Parses if the content changed since the last parse; returns the cached answer otherwise.
    virtual bool Validate();

    bool Dirty() const { return m_dirty; }
    bool Valid() const { return m_valid; }
    quint32 DataSize();
    qint32 DataOffset();
    // The sample data in the stream's memory, or none while the clip is not valid.
    const char* Data();
    const WaveFormatBlock* WaveFormat();

    // Fires once for the first change while the clip is clean, after the change.
    const ChangeEvent& onChange() const { return m_onChange; }
    void setOnChange(ChangeEvent handler) { m_onChange = std::move(handler); }
    // Fires before every change of content or memory, so that a reader of the memory (the
    // device) can let go of it before it moves or goes.
    const ChangeEvent& onBeforeChange() const { return m_onBeforeChange; }
    void setOnBeforeChange(ChangeEvent handler) { m_onBeforeChange = std::move(handler); }

protected:
    char* reallocate(qint64& newCapacity) override;
    void reallocated() override;

private:
    void aboutToChange();
    void changed();

    bool m_dirty = false;
    bool m_valid = false;
    quint32 m_dataSize = 0;
    qint32 m_dataOffset = 0;
    std::optional<WaveFormatBlock> m_waveFormat;
    ChangeEvent m_onChange;
    ChangeEvent m_onBeforeChange;
};
