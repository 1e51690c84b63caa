#include "q7firmware.h"

#include <QMutexLocker>
#include <algorithm>
#include <cstring>

namespace
{

uchar blockChecksum(const unsigned char block[8])
{
    uint sum = 0;
    for (int i = 0; i < 7; ++i)
        sum += block[i];
    return uchar(~sum & 0xFF);
}

template <size_t N> QByteArray bytes(const std::array<uchar, N>& a)
{
    return QByteArray(reinterpret_cast<const char*>(a.data()), int(N));
}

template <size_t N> void store(std::array<uchar, N>& a, const QByteArray& from)
{
    std::memcpy(a.data(), from.constData(), std::min(N, size_t(from.size())));
}

// Resolution codes of the type 2 sensor a new mouse ships with: 500, 1000, 1500 and 2500 dpi,
// stages 5 to 8 switched off (bit 7).
constexpr uchar kFactoryCodes[Q7Firmware::kStages] = {0x04, 0x08, 0x46, 0x4A,
                                                      0x80, 0x80, 0x80, 0x80};

// Eight colours (red, green, blue): red, green, blue, magenta, cyan, yellow, white, orange.
constexpr uchar kFactoryColours[24] = {0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00,
                                       0xFF, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0xFF, 0xFF,
                                       0xFF, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x00};

} // namespace

Q7Firmware::Q7Firmware()
{
    std::copy(std::begin(kFactoryCodes), std::end(kFactoryCodes), m_dpiCodes.begin());
    std::copy(std::begin(kFactoryColours), std::end(kFactoryColours), m_palette.begin());
    std::copy(std::begin(kFactoryColours), std::end(kFactoryColours), m_stageColours.begin());
    // Stage k shows palette colour k - 1: low nibble odd stage, high nibble even stage.
    m_stageIndexes = {0x10, 0x32, 0x54, 0x76};
    // Buttons 1..16 do their own function: function code 01 00 <slot> 00 per slot.
    for (int slot = 0; slot < 16; ++slot) {
        m_keyMatrix[size_t(slot * 4)] = 0x01;
        m_keyMatrix[size_t(slot * 4 + 2)] = uchar(slot);
    }
}

// Bytes a bulk set brings, or -1 when its block does not describe a payload the command
// takes (byte 2 carries the length in bytes).
int Q7Firmware::bulkSetLength(const unsigned char block[8])
{
    int expected = 0;
    switch (block[0]) {
    case 0x10:
        expected = block[1] == 2 ? 4 : 24;
        break;
    case 0x11:
        expected = 8;
        break;
    case 0x12:
        if (block[1] != 0x01 || block[3] != 0x08)
            return -1;
        expected = kKeyMatrixBytes;
        break;
    case 0x13:
        expected = kMacroBytes;
        break;
    default:
        return 0;
    }
    return block[2] == expected ? expected : -1;
}

void Q7Firmware::onCommand(const unsigned char block[8])
{
    QMutexLocker l(&m_lock);
    // A new block ends whatever bulk transfer was in progress.
    m_expected = 0;
    m_inbound.clear();
    m_outbound.clear();
    m_outPos = 0;
    m_answer.fill(0);

    const int bulk = bulkSetLength(block);
    if (blockChecksum(block) != block[7] || bulk < 0) {
        ++m_rejected;
        return;
    }
    if (bulk > 0) {
        std::copy(block, block + 8, m_pendingBlock.begin());
        m_expected = bulk;
        return;
    }

    switch (block[0]) {
    case 0x01:
        m_reportRate = block[1];
        break;
    case 0x02:
        m_profile = block[1];
        break;
    case 0x03:
        m_sensorType = block[1];
        m_reportRate = block[2];
        m_option1 = block[3];
        m_option2 = block[4];
        break;
    case 0x07:
        m_ledInstruct[block[1]] = {block[2], block[3], block[4]};
        break;
    case 0x0B:
        m_dpiStage = block[1];
        break;
    case 0x0D:
        m_effect = block[1];
        m_brightness = block[2];
        m_speed = block[3];
        break;
    default:
        break;
    }
    prepareAnswer(block);
}

void Q7Firmware::prepareAnswer(const unsigned char block[8])
{
    std::array<uchar, 8>& a = m_answer;
    a[0] = block[0];
    switch (block[0]) {
    case 0x80:
        a[1] = m_versionMajor;
        a[2] = m_versionMinor;
        break;
    case 0x81:
        a[1] = m_reportRate;
        break;
    case 0x82:
        a[1] = m_profile;
        break;
    case 0x83:
        a[1] = m_sensorType;
        a[2] = m_reportRate;
        a[3] = m_option1;
        a[4] = m_option2;
        break;
    case 0x87: {
        const auto& o = m_ledInstruct[block[1]];
        a[1] = block[1];
        a[2] = o[0];
        a[3] = o[1];
        a[4] = o[2];
        break;
    }
    case 0x8B:
        a[1] = m_dpiStage;
        break;
    case 0x8D:
        a[1] = m_effect;
        a[2] = m_brightness;
        a[3] = m_speed;
        break;
    case 0x90:
        a[1] = block[1];
        switch (block[1]) {
        case 0:
            m_outbound = bytes(m_palette);
            break;
        case 1:
            m_outbound = bytes(m_stageColours);
            break;
        case 2:
            m_outbound = bytes(m_stageIndexes);
            break;
        default:
            m_outbound = QByteArray(24, '\0');
            break;
        }
        a[2] = uchar(m_outbound.size());
        break;
    case 0x91:
        a[1] = m_stageCount;
        m_outbound = bytes(m_dpiCodes);
        break;
    case 0x92:
        a[1] = 0x01;
        m_outbound = bytes(m_keyMatrix);
        break;
    case 0x93:
        a[1] = block[1];
        m_outbound = (block[1] >= 1 && block[1] <= kMacroSlots)
                         ? bytes(m_macros[size_t(block[1] - 1)])
                         : QByteArray(kMacroBytes, '\0');
        break;
    default:
        break;
    }
    a[7] = blockChecksum(a.data());
}

void Q7Firmware::answer(unsigned char block[8])
{
    QMutexLocker l(&m_lock);
    std::copy(m_answer.begin(), m_answer.end(), block);
}

void Q7Firmware::onBulkOut(const unsigned char* data, int length)
{
    QMutexLocker l(&m_lock);
    if (m_expected <= 0 || length <= 0)
        return;
    const int take = std::min(length, m_expected - int(m_inbound.size()));
    m_inbound.append(reinterpret_cast<const char*>(data), take);
    if (m_inbound.size() >= m_expected)
        applyBulk();
}

void Q7Firmware::applyBulk()
{
    const std::array<uchar, 8>& b = m_pendingBlock;
    switch (b[0]) {
    case 0x10:
        if (b[1] == 0)
            store(m_palette, m_inbound);
        else if (b[1] == 1)
            store(m_stageColours, m_inbound);
        else if (b[1] == 2)
            store(m_stageIndexes, m_inbound);
        break;
    case 0x11:
        m_stageCount = b[1];
        store(m_dpiCodes, m_inbound);
        break;
    case 0x12:
        store(m_keyMatrix, m_inbound);
        break;
    case 0x13:
        if (b[1] >= 1 && b[1] <= kMacroSlots)
            store(m_macros[size_t(b[1] - 1)], m_inbound);
        break;
    default:
        break;
    }
    ++m_applied;
    m_expected = 0;
    m_inbound.clear();
    m_answer.fill(0);
    m_answer[0] = b[0];
    m_answer[7] = blockChecksum(m_answer.data());
}

bool Q7Firmware::nextBulkIn(unsigned char* data, int length)
{
    QMutexLocker l(&m_lock);
    if (length <= 0 || m_outPos >= m_outbound.size())
        return false;
    std::memset(data, 0, size_t(length));
    const int take = std::min(length, int(m_outbound.size()) - m_outPos);
    std::memcpy(data, m_outbound.constData() + m_outPos, size_t(take));
    m_outPos += length;
    return true;
}

uchar Q7Firmware::reportRate() const
{
    QMutexLocker l(&m_lock);
    return m_reportRate;
}

uchar Q7Firmware::profile() const
{
    QMutexLocker l(&m_lock);
    return m_profile;
}

uchar Q7Firmware::sensorType() const
{
    QMutexLocker l(&m_lock);
    return m_sensorType;
}

uchar Q7Firmware::functionOption1() const
{
    QMutexLocker l(&m_lock);
    return m_option1;
}

uchar Q7Firmware::functionOption2() const
{
    QMutexLocker l(&m_lock);
    return m_option2;
}

QByteArray Q7Firmware::ledInstruct(uchar type) const
{
    QMutexLocker l(&m_lock);
    return bytes(m_ledInstruct[type]);
}

uchar Q7Firmware::currentDpiStage() const
{
    QMutexLocker l(&m_lock);
    return m_dpiStage;
}

uchar Q7Firmware::dpiStageCount() const
{
    QMutexLocker l(&m_lock);
    return m_stageCount;
}

QByteArray Q7Firmware::dpiCodes() const
{
    QMutexLocker l(&m_lock);
    return bytes(m_dpiCodes);
}

uchar Q7Firmware::lightingEffect() const
{
    QMutexLocker l(&m_lock);
    return m_effect;
}

uchar Q7Firmware::lightingBrightness() const
{
    QMutexLocker l(&m_lock);
    return m_brightness;
}

uchar Q7Firmware::lightingSpeed() const
{
    QMutexLocker l(&m_lock);
    return m_speed;
}

QByteArray Q7Firmware::colourTable(uchar type) const
{
    QMutexLocker l(&m_lock);
    switch (type) {
    case 0:
        return bytes(m_palette);
    case 1:
        return bytes(m_stageColours);
    case 2:
        return bytes(m_stageIndexes);
    default:
        return {};
    }
}

QByteArray Q7Firmware::keyMatrix() const
{
    QMutexLocker l(&m_lock);
    return bytes(m_keyMatrix);
}

QByteArray Q7Firmware::macro(uchar macroId) const
{
    QMutexLocker l(&m_lock);
    if (macroId < 1 || macroId > kMacroSlots)
        return {};
    return bytes(m_macros[size_t(macroId - 1)]);
}

uchar Q7Firmware::versionMajor() const
{
    QMutexLocker l(&m_lock);
    return m_versionMajor;
}

uchar Q7Firmware::versionMinor() const
{
    QMutexLocker l(&m_lock);
    return m_versionMinor;
}

void Q7Firmware::setVersion(uchar major, uchar minor)
{
    QMutexLocker l(&m_lock);
    m_versionMajor = major;
    m_versionMinor = minor;
}

int Q7Firmware::rejectedBlocks() const
{
    QMutexLocker l(&m_lock);
    return m_rejected;
}

int Q7Firmware::appliedBulkSets() const
{
    QMutexLocker l(&m_lock);
    return m_applied;
}
