// The writer and the reader agree: for documents of the kind the editor produces,
// hostile content included, reading what was written gives the same model, unwrapped
// and (for texts without doubled spaces) wrapped.
#include "model_generator.h"

#include "model/model_json.h"
#include "model/text_reader.h"
#include "model/text_writer.h"

#include <gtest/gtest.h>

namespace qorva {
namespace {

constexpr int kModels = 10000;

// The first block that differs, to make a failure readable.
std::string firstDifference(const Json& model, const std::string& readBack) {
    Json read;
    try {
        read = Json::parse(readBack);
    } catch (...) {
        return "(not JSON)";
    }
    for (std::size_t i = 0; i < std::max(model.size(), read.size()); ++i) {
        const std::string a = i < model.size() ? model[i].dump() : "(none)";
        const std::string b = i < read.size() ? read[i].dump() : "(none)";
        if (a != b) return "\n    expected " + a + "\n    read     " + b;
    }
    return "(none)";
}

void expectRoundTrips(bool wrap, unsigned seed, bool hostile = false) {
    std::mt19937 random(seed);
    int failures = 0;
    for (int i = 0; i < kModels && failures < 5; ++i) {
        const Json model = testing::generateDocument(random, {.doubledSpaces = true, .hostile = hostile});
        const std::string json = dumpCompact(model);
        std::string written, readBack;
        try {
            written = writeTextFormat(json, TextWriterOptions{wrap, false});
            readBack = readTextFormat(written);
        } catch (const std::exception& e) {
            readBack = std::string("error: ") + e.what();
        }
        if (readBack != json) {
            ++failures;
            ADD_FAILURE() << "model " << i << "\n  model:   " << json << "\n  written: " << Json(written).dump()
                          << "\n  read:    " << readBack << "\n  first difference: " << firstDifference(model, readBack);
        }
    }
}

TEST(RoundTripProperty, UnwrappedDocumentsReadBackUnchanged) { expectRoundTrips(false, 20261206); }

TEST(RoundTripProperty, WrappedDocumentsReadBackUnchanged) { expectRoundTrips(true, 777); }

TEST(RoundTripProperty, UnwrappedHostileDocumentsReadBackUnchanged) { expectRoundTrips(false, 4242, true); }

TEST(RoundTripProperty, WrappedHostileDocumentsReadBackUnchanged) { expectRoundTrips(true, 1313, true); }

TEST(RoundTripProperty, WritingIsStableAfterOneRoundTrip) {
    // Writing what was read from a wrapped document gives the same text again.
    std::mt19937 random(99);
    for (int i = 0; i < 2000; ++i) {
        const std::string json = dumpCompact(testing::generateDocument(random, {.doubledSpaces = false}));
        const std::string once = writeTextFormat(json, TextWriterOptions{true, false});
        const std::string twice = writeTextFormat(readTextFormat(once), TextWriterOptions{true, false});
        ASSERT_EQ(once, twice) << json;
    }
}

}  // namespace
}  // namespace qorva
