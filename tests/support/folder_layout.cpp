#include "support/folder_layout.h"

#include "core/disk/data_folder.h"
#include "core/store/situation_list.h"

namespace pairly::testing {

bool appendRecord(const std::filesystem::path& folder, int slot,
                  const store::MeasurementRecord& record) {
    return store::appendRecordWithStatus(folder, slot, record) == disk::WriteStatus::Ok;
}

bool rewriteLog(const std::filesystem::path& folder, int slot,
                const std::vector<store::MeasurementRecord>& records) {
    store::LoadedLog log;
    log.records = records;
    return store::writeBackLog(folder, slot, log).status == disk::WriteStatus::Ok;
}

bool saveProfile(const std::filesystem::path& folder, int slot,
                 const store::PartnerProfile& profile) {
    const auto bytes = store::profileFileBytes(profile);
    return bytes && disk::rewriteUnderLock(folder, store::profileFileName(slot), *bytes) ==
                        disk::WriteStatus::Ok;
}

bool rewriteSituationList(const std::filesystem::path& folder,
                          const std::vector<std::string>& entries) {
    const auto bytes = store::situationListBytes(entries);
    return bytes &&
           disk::rewriteUnderLock(folder, "状況リスト.txt", *bytes) == disk::WriteStatus::Ok;
}

}  // namespace pairly::testing
