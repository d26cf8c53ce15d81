#include "facebook_data_saver.h"

#include "save_file.h"

void FacebookDataSaver::save()
{
    const uint32_t count = static_cast<uint32_t>(records.size());
    std::vector<uint8_t> payload;
    payload.reserve(4 + records.size() * sizeof(Record));
    for (int shift = 0; shift < 32; shift += 8)
        payload.push_back(static_cast<uint8_t>(count >> shift));
    for (const Record& record : records)
        payload.insert(payload.end(), record.begin(), record.end());
    // A failure is logged by the save file and the old file stays; the
    // game goes on without it.
    SaveFile::write("facebook_data.dat", payload.data(), payload.size());
}
