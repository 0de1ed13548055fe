#include "core/IdentifyCommand.h"

#include <QString>

#include <ostream>

#include "core/base/Messages.h"
#include "core/base/Strings.h"
#include "core/data/DataLoader.h"
#include "core/data/Session.h"
#include "core/data/ZipArchive.h"
#include "core/hunt/MapPictureFile.h"
#include "core/hunt/MapPictureMatcher.h"
#include "core/hunt/MatchTexts.h"
#include "core/map/MapImages.h"

namespace brix {
namespace {

// Messages of the loaders, written as lines instead of shown in boxes.
class StreamMessages : public Messages {
public:
    explicit StreamMessages(std::ostream& stream) : stream_(stream) {}
    void Show(const std::string& text, MessageIcon, QObject*) override { stream_ << text << '\n'; }
    bool AskYesNo(const std::string& text, QObject*) override {
        stream_ << text << '\n';
        return false;
    }

private:
    std::ostream& stream_;
};

// The world's records and its multimap, read from the archive found as start-up finds it.
bool LoadWorld(const ProgramLocation& location, GameRecords& records, QImage& multimap,
               Messages& messages) {
    FoundArchive found = FindArchive(ArchiveFileName, location);
    if (!found.Archive) {
        const std::string shown = location.ArchiveArgument.empty() ? std::string(ArchiveFileName)
                                                                   : location.ArchiveArgument;
        messages.Show(FormatText(LoadString(StringId::CannotOpenArchive), {shown}));
        return false;
    }
    UserRecords unused;
    if (!LoadSystemData(records, unused, *found.Archive, SystemDataMemberName, messages))
        return false;
    bool notMonochrome = false;
    const QImage loaded = LoadArchiveBitmap(*found.Archive, MultimapMemberName, &notMonochrome);
    if (loaded.isNull() || notMonochrome || !IsMonochrome(loaded)) {
        messages.Show(
            FormatText(LoadString(notMonochrome || !loaded.isNull() ? StringId::BitmapNotMonochrome
                                                                    : StringId::CannotLoadBitmap),
                       {MultimapMemberName}));
        return false;
    }
    multimap = NormalizeMonochrome(loaded);
    return true;
}

}  // namespace

int RunIdentifyCommand(const std::string& picturePath, const ProgramLocation& location,
                       std::ostream& out, std::ostream& err) {
    // The picture first: a wrong file name is answered without reading the world.
    const MapPicture picture = ReadMapPictureFile(QString::fromStdString(picturePath));
    if (picture.Status == PictureStatus::Unreadable || picture.Status == PictureStatus::TooLarge) {
        err << PictureProblemText(picture, picturePath) << '\n';
        return IdentifyUnreadable;
    }
    if (picture.Status == PictureStatus::TooSmall) {
        err << PictureProblemText(picture, picturePath) << '\n';
        return IdentifyNoMatch;
    }

    StreamMessages messages(err);
    GameRecords records;
    QImage multimap;
    if (!LoadWorld(location, records, multimap, messages)) return IdentifyNoWorld;

    MapPictureMatcher matcher(records, multimap);
    const std::vector<MapMatch> candidates = matcher.Identify(picture.Image);
    int rank = 0;
    for (const MapMatch& match : candidates) {
        const MatchTexts texts = DescribeMatch(records, match);
        out << ++rank << '\t' << texts.Number << '\t' << texts.Name << '\t' << texts.Region << '\t'
            << texts.Score << '\n';
    }
    if (MapPictureMatcher::Matches(candidates)) return IdentifyMatched;
    err << LoadString(StringId::IdentifyNoMatch) << '\n';
    return IdentifyNoMatch;
}

}  // namespace brix
