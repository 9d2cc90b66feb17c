// The record that the editions with a state of their own save (VST 3, CLAP): "QVLS", the
// version, the program and the normalized values, each as four little-endian bytes. A record
// is the user's work: taken whole, every value as it was saved, or refused whole with nothing
// changed. The editions whose host keeps the values (VST 2.4, LV2) have no such record.
#include "EditionTestSupport.h"

#include <cstring>
#include <limits>

namespace {

constexpr std::size_t kHeaderSize = 12;

uint32_t wordAt(const std::vector<uint8_t>& bytes, std::size_t at) {
    return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
           uint32_t(bytes[at + 3]) << 24;
}

std::vector<uint8_t> withWord(std::vector<uint8_t> bytes, std::size_t at, uint32_t word) {
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<uint8_t>(word >> (8 * i));
    return bytes;
}

std::vector<uint8_t> withValue(const std::vector<uint8_t>& bytes, int index, float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return withWord(bytes, kHeaderSize + 4 * static_cast<std::size_t>(index), bits);
}

// The editions whose state is the record.
std::vector<BuiltEdition> editionsSavingTheRecord() {
    std::vector<BuiltEdition> editions;
    for (const BuiltEdition& edition : builtEditions())
        if (std::string(edition.label) == "Vst3" || std::string(edition.label) == "Clap")
            editions.push_back(edition);
    return editions;
}

class EditionStateRecord : public EachEdition {
  protected:
    // The edition at program 2 with a few values moved, and the record it saves.
    std::unique_ptr<LoadedEdition> edited(std::vector<uint8_t>& record) const {
        auto edition = load();
        if (!edition) return nullptr;
        EXPECT_TRUE(edition->selectProgram(2));
        edition->setParameter(3, 0.25);
        edition->setParameter(7, 0.8);
        edition->setParameter(14, 0.6);
        record = edition->saveState();
        if (record.size() <= kHeaderSize || std::memcmp(record.data(), "QVLS", 4) != 0) {
            ADD_FAILURE() << "the edition saves no record of ours";
            return nullptr;
        }
        return edition;
    }

    static int valueCount(const std::vector<uint8_t>& record) {
        return static_cast<int>((record.size() - kHeaderSize) / 4);
    }

    static std::vector<std::string> texts(LoadedEdition& edition) {
        std::vector<std::string> shown;
        for (const int index : edition.parameterIndices())
            shown.push_back(edition.parameter(index).text);
        return shown;
    }
};

TEST_P(EditionStateRecord, ADamagedRecordIsRefusedWholeAndChangesNothing) {
    std::vector<uint8_t> good;
    const auto edition = edited(good);
    ASSERT_TRUE(edition);
    std::vector<std::pair<std::string, std::vector<uint8_t>>> bad = {
        {"empty", {}},
        {"cut by a byte", std::vector<uint8_t>(good.begin(), good.end() - 1)},
        {"the last value missing", std::vector<uint8_t>(good.begin(), good.end() - 4)},
        {"only the header", std::vector<uint8_t>(good.begin(), good.begin() + kHeaderSize)},
        {"another product's", withWord(good, 0, 0x46464952)},
        {"a newer version", withWord(good, 4, wordAt(good, 4) + 1)},
        {"version 0", withWord(good, 4, 0)},
        {"program 7", withWord(good, 8, 7)},
        {"program -1", withWord(good, 8, 0xFFFFFFFF)},
        {"garbage of the record's size", std::vector<uint8_t>(good.size(), 0xA5)},
        {"a long run of garbage", std::vector<uint8_t>(4096, 0xFF)},
    };
    // Every value field, with what a changed byte or a bad copy leaves there: no number, far
    // outside (Release Slow at 5.5e82 ms, Knee at -7.7e26 dB, a Make Up Gain of 5.7e22 dB), or
    // one rounding step or a few past an end (Knee 20.0004 dB). No build of ours saved any of
    // these: each host and editor held its values to 0 ... 1, so none is limited into range.
    const float past[] = {std::numeric_limits<float>::quiet_NaN(),
                          std::numeric_limits<float>::infinity(),
                          -std::numeric_limits<float>::infinity(),
                          3.0e26f,
                          -3.85e25f,
                          2.4e21f,
                          std::nextafter(1.0f, 2.0f),
                          1.00002f,
                          std::nextafter(0.0f, -1.0f),
                          -0.5f};
    for (int index = 0; index < valueCount(good); ++index)
        for (const float value : past)
            bad.push_back({"value " + std::to_string(index) + " at " + std::to_string(value),
                           withValue(good, index, value)});

    const std::vector<std::string> shown = texts(*edition);
    for (const auto& [what, bytes] : bad) {
        EXPECT_FALSE(edition->loadState(bytes)) << what;
        EXPECT_EQ(edition->saveState(), good) << what;
    }
    EXPECT_EQ(texts(*edition), shown);
}

TEST_P(EditionStateRecord, EveryValueAtTheEndsOfItsTravelIsTakenAsSaved) {
    std::vector<uint8_t> good;
    const auto edition = edited(good);
    ASSERT_TRUE(edition);
    // Records from before Threshold's top was a plain zero hold -0 for 0 dB.
    for (int index = 0; index < valueCount(good); ++index)
        for (const float value : {0.0f, 1.0f, -0.0f}) {
            SCOPED_TRACE(testing::Message() << "value " << index << " at " << value);
            const std::vector<uint8_t> record = withValue(good, index, value);
            ASSERT_TRUE(edition->loadState(record));
            EXPECT_EQ(edition->saveState(), record);
        }
}

// A switch turned off by another (Delta 0.95 while SC Preview listens) keeps its value.
TEST_P(EditionStateRecord, ASwitchThatListensTurnsOffNoValueTheRecordHolds) {
    std::vector<uint8_t> good;
    const auto edition = edited(good);
    ASSERT_TRUE(edition);
    for (const int listening : {16, 17}) {
        SCOPED_TRACE(listening);
        std::vector<uint8_t> record = withValue(good, listening, 1.0f);
        for (const int other : {15, 16, 17})
            if (other != listening) record = withValue(record, other, 0.4f);
        record = withValue(record, 15, 0.95f);
        ASSERT_TRUE(edition->loadState(record));
        EXPECT_EQ(edition->saveState(), record);
    }
}

GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(EditionStateRecord);
INSTANTIATE_TEST_SUITE_P(Editions, EditionStateRecord, testing::ValuesIn(editionsSavingTheRecord()),
                         editionLabel);

} // namespace
