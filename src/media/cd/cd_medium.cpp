// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/cd/cd_medium.h"

#include "media/cd/cd_text_packs.h"
#include "media/cd/cue_disc_image.h"

#include <cdio/cdio.h>
#include <cdio/logging.h>
#include <cdio/mmc_ll_cmds.h>

#include <cctype>
#include <mutex>

namespace tobira {

namespace {
void discardLog(cdio_log_level_t, const char[]) {}
} // namespace

void CdMedium::silenceLibraryLog() {
    static std::once_flag once;
    std::call_once(once, [] { cdio_log_set_handler(discardLog); });
}

std::vector<std::string> CdMedium::findDrives() {
    std::vector<std::string> drives;
    // NULL when there is no drive, and cdio_free_device_list(NULL) would crash.
    char** list = cdio_get_devices(DRIVER_DEVICE);
    if (!list)
        return drives;
    for (char** p = list; *p; ++p)
        drives.emplace_back(*p);
    cdio_free_device_list(list);
    return drives;
}

bool CdMedium::isCueSheet(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".cue";
}

CdMedium::ImageOpen CdMedium::openImage(const std::filesystem::path& cue) {
    CueOpenResult opened = CueDiscImage::open(cue);
    ImageOpen result;
    result.problem = std::move(opened.problem);
    result.files = std::move(opened.files);
    if (opened.image)
        result.medium.reset(new CdMedium(std::move(opened.image)));
    return result;
}

std::unique_ptr<CdMedium> CdMedium::openDrive(const std::string& device) {
    CdIo_t* handle = cdio_open(device.c_str(), DRIVER_LINUX);
    if (!handle)
        return nullptr;
    return std::unique_ptr<CdMedium>(new CdMedium(handle));
}

bool CdMedium::closeTray(const std::string& device) {
    driver_id_t driver = DRIVER_LINUX;
    return cdio_close_tray(device.c_str(), &driver) == DRIVER_OP_SUCCESS;
}

CdMedium::CdMedium(_CdIo* handle) : handle_(handle) {}

CdMedium::CdMedium(std::unique_ptr<CueDiscImage> image) : image_(std::move(image)) {}

CdMedium::~CdMedium() = default;

void CdMedium::Closer::operator()(_CdIo* p) const {
    cdio_destroy(p);
}

std::optional<CdToc> CdMedium::readToc() const {
    if (image_)
        return image_->toc();
    CdIo_t* p = handle_.get();
    if (!p)
        return std::nullopt;
    // Without a disc (or on a device that is no drive) both come back as CDIO_INVALID_TRACK.
    const track_t first = cdio_get_first_track_num(p);
    const track_t count = cdio_get_num_tracks(p);
    if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK || count == 0 ||
        first + count - 1 > CdToc::kMaxTracks)
        return std::nullopt;
    std::vector<CdTocEntry> entries;
    for (int i = 0; i < count; ++i) {
        const auto number = static_cast<track_t>(first + i);
        const lsn_t start = cdio_get_track_lsn(p, number);
        if (start == CDIO_INVALID_LSN)
            return std::nullopt;
        const bool audio = cdio_get_track_format(p, number) == TRACK_FORMAT_AUDIO;
        entries.push_back(
            CdTocEntry{number, start, audio,
                       audio && cdio_get_track_preemphasis(p, number) == CDIO_TRACK_FLAG_TRUE});
    }
    const lsn_t leadout = cdio_get_track_lsn(p, CDIO_CDROM_LEADOUT_TRACK);
    if (leadout == CDIO_INVALID_LSN)
        return std::nullopt;
    return CdToc::make(entries, leadout);
}

bool CdMedium::slowDown() {
    constexpr int kSpeed = 4; // times the playing speed
    constexpr int kRawKbPerSpeed = 176;
    if (!handle_)
        return false;
    // SET CD SPEED first: the kernel's own speed call is ignored by many drives for audio reads.
    return mmc_set_speed(handle_.get(), kSpeed * kRawKbPerSpeed, 0) == DRIVER_OP_SUCCESS ||
           cdio_set_speed(handle_.get(), kSpeed) == DRIVER_OP_SUCCESS;
}

std::int32_t CdMedium::firstLsn() const {
    return image_ ? image_->firstLsn() : 0;
}

bool CdMedium::readAudio(std::int32_t lsn, std::int32_t sectors, unsigned char* out) {
    if (image_ && sectors > 0)
        return image_->read(lsn, sectors, out);
    if (!handle_ || sectors <= 0)
        return false;
    if (!image_ && !paranoiaTried_) {
        paranoiaTried_ = true;
        paranoia_ = CdParanoiaReader::open(handle_.get());
    }
    if (paranoia_)
        return paranoia_->read(lsn, sectors, out);
    return cdio_read_audio_sectors(handle_.get(), out, lsn, static_cast<std::uint32_t>(sectors)) ==
           DRIVER_OP_SUCCESS;
}

std::vector<CdTextBlock> CdMedium::readTextBlocks() const {
    if (image_)
        return image_->textBlocks();
    if (!handle_)
        return {};
    const track_t first = cdio_get_first_track_num(handle_.get());
    const track_t count = cdio_get_num_tracks(handle_.get());
    // By the disc's numbers, which may start above 1.
    const std::size_t tracks = first != CDIO_INVALID_TRACK && count != CDIO_INVALID_TRACK &&
                                       first + count - 1 <= CdToc::kMaxTracks
                                   ? static_cast<std::size_t>(first + count - 1)
                                   : 0;
    std::vector<CdTextBlock> blocks;
    // The packs as the drive hands them over, behind a 4-byte header that gives their length:
    // libcdio's own reading keeps one language and refuses double-byte (Japanese) text.
    struct Free {
        void operator()(std::uint8_t* p) const { cdio_free(p); }
    };
    if (std::unique_ptr<std::uint8_t, Free> raw(cdio_get_cdtext_raw(handle_.get())); raw) {
        const std::size_t bytes = std::size_t{raw.get()[0]} << 8 | raw.get()[1];
        blocks =
            ParseCdTextPacks(std::string_view(reinterpret_cast<const char*>(raw.get()), bytes + 2));
    }
    for (CdTextBlock& block : blocks)
        block.text.tracks.resize(tracks);
    return blocks;
}

DiscText CdMedium::readText(std::string_view locale) const {
    const std::vector<CdTextBlock> blocks = readTextBlocks();
    return blocks.empty() ? DiscText{} : blocks[PreferredCdTextBlock(blocks, locale)].text;
}

bool CdMedium::ejectDrive() {
    if (image_ || !handle_)
        return false;
    paranoia_.reset(); // it reads through the handle
    // On success libcdio frees the handle and clears the pointer; on failure it is still ours.
    CdIo_t* p = handle_.release();
    const driver_return_code_t rc = cdio_eject_media(&p);
    if (p)
        cdio_destroy(p);
    return rc == DRIVER_OP_SUCCESS;
}

} // namespace tobira
