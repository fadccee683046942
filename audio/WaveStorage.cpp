#include "audio/WaveStorage.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {
constexpr qint64 GrowthStep = 0x2000;
}

TMemoryStream::~TMemoryStream()
{
    std::free(m_memory);
}

qint64 TMemoryStream::read(void* buffer, qint64 count)
{
    if (m_position < 0 || count < 0)
        return 0;
    const qint64 available = std::min(m_size - m_position, count);
    if (available <= 0)
        return 0;
    std::memcpy(buffer, m_memory + m_position, static_cast<std::size_t>(available));
    m_position += available;
    return available;
}

qint64 TMemoryStream::write(const void* buffer, qint64 count)
{
    if (m_position < 0 || count < 0)
        return 0;
    const qint64 end = m_position + count;
    if (end > m_size) {
        if (end > m_capacity)
            setCapacity(end);
        m_size = end;
    }
    if (count > 0)
        std::memcpy(m_memory + m_position, buffer, static_cast<std::size_t>(count));
    m_position = end;
    return count;
}

qint64 TMemoryStream::seek(qint64 offset, Origin origin)
{
    switch (origin) {
    case Origin::Beginning: m_position = offset; break;
    case Origin::Current: m_position += offset; break;
    case Origin::End: m_position = m_size + offset; break;
    }
    return m_position;
}

void TMemoryStream::setSize(qint64 newSize)
{
    const qint64 oldPosition = m_position;
    setCapacity(newSize);
    m_size = newSize;
    if (oldPosition > newSize)
        seek(0, Origin::End);
}

void TMemoryStream::clear()
{
    setCapacity(0);
    m_size = 0;
    m_position = 0;
}

void TMemoryStream::loadFromStream(TStream& source)
{
    source.setPosition(0);
    const qint64 count = source.size();
    setSize(count);
    if (count != 0)
        source.readBuffer(m_memory, count);
}

void TMemoryStream::saveToStream(TStream& destination) const
{
    if (m_size != 0 && destination.write(m_memory, m_size) != m_size)
        throw std::runtime_error("Stream write error");
}

void TMemoryStream::setCapacity(qint64 newCapacity)
{
    m_memory = reallocate(newCapacity);
    m_capacity = newCapacity;
    reallocated();
}

char* TMemoryStream::reallocate(qint64& newCapacity)
{
    if (newCapacity > 0 && newCapacity != m_size)
        newCapacity = (newCapacity + (GrowthStep - 1)) & ~(GrowthStep - 1);
    if (newCapacity == m_capacity)
        return m_memory;
    if (newCapacity == 0) {
        std::free(m_memory);
        return nullptr;
    }
    void* block = std::realloc(m_memory, static_cast<std::size_t>(newCapacity));
    if (!block)
        throw std::bad_alloc();
    return static_cast<char*>(block);
}

qint64 TWave::write(const void* buffer, qint64 count)
{
    aboutToChange();
    const qint64 written = TMemoryStream::write(buffer, count);
    changed();
    return written;
}

char* TWave::reallocate(qint64& newCapacity)
{
    aboutToChange();
    return TMemoryStream::reallocate(newCapacity);
}

void TWave::reallocated()
{
    changed();
}

void TWave::aboutToChange()
{
    if (m_onBeforeChange)
        m_onBeforeChange(this);
}

void TWave::changed()
{
    if (m_dirty)
        return;
    m_dirty = true;
    if (m_onChange)
        m_onChange(this);
}

bool TWave::Validate()
{
    if (!m_dirty)
        return m_valid;
    m_valid = false;
    m_dirty = false;
    m_waveFormat.reset();
    m_dataSize = 0;
    m_dataOffset = 0;
    WaveClipInfo info;
    if (ParseWaveClip(*this, info)) {
        m_waveFormat = std::move(info.format);
        m_dataSize = info.dataSize;
        m_dataOffset = info.dataOffset;
        m_valid = true;
    }
    return m_valid;
}

quint32 TWave::DataSize()
{
    return Validate() ? m_dataSize : 0;
}

qint32 TWave::DataOffset()
{
    return Validate() ? m_dataOffset : 0;
}

const char* TWave::Data()
{
    return Validate() ? memory() + m_dataOffset : nullptr;
}

const WaveFormatBlock* TWave::WaveFormat()
{
    return Validate() ? &*m_waveFormat : nullptr;
}
