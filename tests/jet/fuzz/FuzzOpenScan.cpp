// libFuzzer target: any bytes as a database file, opened, listed, read and
// searched. Every outcome must be a result or a jet::Error.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "jet/Error.h"
#include "jet/detail/DatabaseImpl.h"
#include "jet/detail/MemoryPageFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        auto file = std::make_unique<jet::detail::MemoryPageFile>(std::vector<std::uint8_t>(data, data + size));
        jet::detail::DatabaseImpl db("/nonexistent/fuzz/Dorvak.mdb", std::move(file));
        for (const auto& t : db.tableNames()) {
            try {
                auto rs = db.readTable(t);
                for (std::size_t r = 0; r < rs.rowCount(); ++r)
                    for (std::size_t c = 0; c < rs.columns().size(); ++c) (void)rs.value(r, c);
            } catch (const jet::Error&) {
            }
        }
        for (const char16_t* p : {u"%", u"FIL-0%", u"TIP%"}) {
            try {
                (void)db.execute("select * from Dorvak where SIFRA like ?", {p});
            } catch (const jet::Error&) {
            }
        }
    } catch (const jet::Error&) {
    }
    return 0;
}
