#pragma once
// Writers that lay out a data folder for tests, fuzzers, benchmarks and the demo data: no
// stamp check, true when the file was written and synced. The program itself always writes
// through the checked forms in the store.
#include <filesystem>
#include <string>
#include <vector>

#include "core/store/measurement_log.h"
#include "core/store/partner_profile.h"

namespace pairly::testing {

bool appendRecord(const std::filesystem::path& folder, int slot,
                  const store::MeasurementRecord& record);
// Replaces the log by these records alone, whatever it holds.
bool rewriteLog(const std::filesystem::path& folder, int slot,
                const std::vector<store::MeasurementRecord>& records);
bool saveProfile(const std::filesystem::path& folder, int slot,
                 const store::PartnerProfile& profile);
bool rewriteSituationList(const std::filesystem::path& folder,
                          const std::vector<std::string>& entries);

}  // namespace pairly::testing
