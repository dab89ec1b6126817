// The writer and the reader agree: for documents of the kind the editor produces,
// hostile content included, reading what was written gives the same model, wrapped and
// unwrapped. So writing is also stable: writing what was read back gives the same text.
#include "first_difference.h"
#include "model_generator.h"

#include "model/model_json.h"
#include "model/text_reader.h"
#include "model/text_writer.h"

#include <gtest/gtest.h>

namespace qorva {
namespace {

void expectRoundTrips(bool wrap, unsigned seed, bool hostile = false) {
    std::mt19937 random(seed);
    int failures = 0;
    for (int i = 0; i < 10000 && failures < 5; ++i) {
        const std::string json = dumpCompact(testing::generateDocument(random, {.hostile = hostile}));
        std::string written, readBack;
        try {
            written = writeTextFormat(json, TextWriterOptions{wrap, false});
            readBack = readTextFormat(written);
        } catch (const std::exception& e) {
            readBack = std::string("error: ") + e.what();
        }
        if (readBack == json) continue;
        ++failures;
        ADD_FAILURE() << "model " << i << "\n  model:   " << json << "\n  written: " << Json(written).dump()
                      << "\n  read:    " << readBack << "\n  first difference: " << testing::firstDifference(json, readBack);
    }
}

TEST(RoundTripProperty, UnwrappedDocumentsReadBackUnchanged) { expectRoundTrips(false, 20261206); }
TEST(RoundTripProperty, WrappedDocumentsReadBackUnchanged) { expectRoundTrips(true, 777); }
TEST(RoundTripProperty, UnwrappedHostileDocumentsReadBackUnchanged) { expectRoundTrips(false, 4242, true); }
TEST(RoundTripProperty, WrappedHostileDocumentsReadBackUnchanged) { expectRoundTrips(true, 1313, true); }

}  // namespace
}  // namespace qorva
