#include "core/content/dat_builder.h"
#include "core/content/dat_parsers.h"

#include <expat.h>

#include <cstring>
#include <memory>
#include <vector>

namespace tokenade {
namespace {

// Deeper than any DAT nests: a file that does is refused before its
// elements fill memory.
constexpr size_t kDepthLimit = 64;

// What an open element is to the reader.
enum class Element { Root, List, Header, HeaderName, Game, Description, Part, DataArea, Other };

std::string_view attribute(const XML_Char** attributes, std::string_view wanted, bool* present = nullptr)
{
    for (size_t i = 0; attributes[i] != nullptr; i += 2) {
        if (wanted == attributes[i]) {
            if (present)
                *present = true;
            return attributes[i + 1];
        }
    }
    return {};
}

class XmlDatReader {
public:
    XmlDatReader(std::string path, uint64_t bytes) : parser_(XML_ParserCreate(nullptr), XML_ParserFree), bytes_(bytes)
    {
        problem_.path = std::move(path);
        XML_SetUserData(parser_.get(), this);
        XML_SetParamEntityParsing(parser_.get(), XML_PARAM_ENTITY_PARSING_NEVER);
        XML_SetElementHandler(parser_.get(), &XmlDatReader::onStart, &XmlDatReader::onEnd);
        XML_SetCharacterDataHandler(parser_.get(), &XmlDatReader::onText);
    }

    DatRead read(DatSource& source, std::string_view chunk)
    {
        while (true) {
            const bool last = chunk.empty();
            if (last && source.error() != 0)
                return failAtEnd(std::string("cannot be read (") + std::strerror(source.error()) + ")");
            if (XML_Parse(parser_.get(), chunk.data(), static_cast<int>(chunk.size()), last) != XML_STATUS_OK)
                return failed_ ? DatRead{std::nullopt, problem_} : expatFailure(last);
            if (last)
                break;
            chunk = source.next();
        }
        DatRead read;
        DatIndex index;
        if (std::string problem = builder_->finish(index); !problem.empty())
            return failAtEnd(problem);
        read.dat = std::move(index);
        return read;
    }

private:
    static void onStart(void* self, const XML_Char* name, const XML_Char** attributes)
    {
        static_cast<XmlDatReader*>(self)->start(name, attributes);
    }
    static void onEnd(void* self, const XML_Char*) { static_cast<XmlDatReader*>(self)->end(); }
    static void onText(void* self, const XML_Char* text, int length)
    {
        auto* reader = static_cast<XmlDatReader*>(self);
        if (!reader->open_.empty() && (reader->open_.back() == Element::Description ||
                                       reader->open_.back() == Element::HeaderName) &&
            reader->text_.size() <= kDatTextLimit)
            reader->text_.append(text, static_cast<size_t>(length));
    }

    void start(std::string_view name, const XML_Char** attributes)
    {
        const Element element = classify(name);
        open_.push_back(element);
        if (!failed_ && open_.size() > kDepthLimit)
            fail("elements nested deeper than " + std::to_string(kDepthLimit));
        if (failed_)
            return;
        if ((element == Element::Root && !logiqx_) || element == Element::List)
            addListName(attribute(attributes, "name"));
        if (element == Element::Game)
            startGame(attributes);
        else if (element == Element::Description || element == Element::HeaderName)
            text_.clear();
        else if (element == Element::Other && inRomParent())
            addFile(name, attributes);
    }

    // A file of several software lists is named by all of them, as far as a
    // name is kept.
    void addListName(std::string_view name)
    {
        if (name.empty() || listNames_.size() >= 256)
            return;
        listNames_ += (listNames_.empty() ? "" : ", ") + std::string(name.substr(0, 256));
        builder_->setListName(listNames_);
    }

    // A rom anywhere it counts; a disk or a device only right inside a
    // machine, since software lists keep neither.
    void addFile(std::string_view name, const XML_Char** attributes)
    {
        if (name == "rom")
            addRom(attributes);
        else if (logiqx_ && name == "disk")
            addDisk(attributes);
        else if (logiqx_ && name == "device_ref")
            check(builder_->addDeviceRef(attribute(attributes, "name")));
    }

    Element classify(std::string_view name)
    {
        if (open_.empty())
            return root(name);
        const bool logiqx = logiqx_;
        switch (open_.back()) {
        case Element::Root:
            if (lists_)
                return name == "softwarelist" ? Element::List : Element::Other;
            if (logiqx && name == "header")
                return Element::Header;
            return (logiqx ? (name == "game" || name == "machine") : name == "software") ? Element::Game
                                                                                          : Element::Other;
        case Element::List: return name == "software" ? Element::Game : Element::Other;
        case Element::Header: return name == "name" ? Element::HeaderName : Element::Other;
        case Element::Game:
            if (name == "description")
                return Element::Description;
            return !logiqx && name == "part" ? Element::Part : Element::Other;
        case Element::Part: return name == "dataarea" ? Element::DataArea : Element::Other;
        default: return Element::Other;
        }
    }

    // A MAME catalogue reads as a Logiqx DAT does: machines (or games) of
    // roms, disks and devices, without a header. Several software lists in
    // one file (`softwarelists`) read as one list of all their software.
    Element root(std::string_view name)
    {
        lists_ = name == "softwarelists";
        if (name == "datafile" || name == "mame" || name == "softwarelist" || lists_) {
            logiqx_ = name == "datafile" || name == "mame";
            const DatFormat format = name == "datafile" ? DatFormat::LogiqxXml
                                     : name == "mame"   ? DatFormat::MameListXml
                                                        : DatFormat::SoftwareList;
            builder_ = std::make_unique<DatBuilder>(format, bytes_);
        } else {
            fail("the root element is <" + std::string(name.substr(0, 40)) +
                 ">, not <datafile>, <mame> or <softwarelist>");
        }
        return Element::Root;
    }

    // A rom counts right inside a Logiqx game, or in a software's data area.
    bool inRomParent() const
    {
        const Element parent = open_[open_.size() - 2];
        return logiqx_ ? parent == Element::Game : parent == Element::DataArea;
    }

    void startGame(const XML_Char** attributes)
    {
        gameLine_ = XML_GetCurrentLineNumber(parser_.get());
        gameColumn_ = XML_GetCurrentColumnNumber(parser_.get()) + 1;
        check(builder_->startGame());
        check(builder_->setName(attribute(attributes, "name")));
        check(builder_->setCloneOf(attribute(attributes, "cloneof")));
        check(builder_->setRomOf(attribute(attributes, "romof")));
        builder_->setIsBios(attribute(attributes, "isbios") == "yes");
        builder_->setIsDevice(attribute(attributes, "isdevice") == "yes");
        builder_->setRunnable(attribute(attributes, "runnable") != "no");
    }

    // One pass over the attributes: a catalogue has hundreds of thousands of roms.
    void addRom(const XML_Char** attributes)
    {
        RomFields rom;
        for (size_t i = 0; attributes[i] != nullptr; i += 2) {
            const std::string_view key = attributes[i];
            const std::string_view value = attributes[i + 1];
            if (key == "name")
                rom.name = value;
            else if (key == "size")
                rom.size = value, rom.hasSize = true;
            else if (key == "crc")
                rom.crc = value, rom.hasCrc = true;
            else if (key == "sha1")
                rom.sha1 = value;
            else if (key == "status")
                rom.status = value;
            else if (key == "merge")
                rom.merge = value;
            else if (key == "bios")
                rom.bios = value;
            else if (key == "optional")
                rom.optional = value;
        }
        check(builder_->addRom(rom));
    }

    void addDisk(const XML_Char** attributes)
    {
        DiskFields disk;
        disk.name = attribute(attributes, "name");
        disk.sha1 = attribute(attributes, "sha1");
        disk.merge = attribute(attributes, "merge");
        disk.status = attribute(attributes, "status");
        disk.optional = attribute(attributes, "optional");
        check(builder_->addDisk(disk));
    }

    void end()
    {
        const Element element = open_.back();
        open_.pop_back();
        if (failed_)
            return;
        if (element == Element::Description)
            check(builder_->setDescription(text_));
        else if (element == Element::HeaderName)
            builder_->setListName(text_);
        else if (element == Element::Game && !builder_->endGame().empty())
            failAt("a game without a name", gameLine_, gameColumn_);
    }

    void check(const std::string& problem)
    {
        if (!problem.empty())
            fail(problem);
    }

    void fail(std::string reason)
    {
        failAt(std::move(reason), XML_GetCurrentLineNumber(parser_.get()),
               XML_GetCurrentColumnNumber(parser_.get()) + 1);
    }

    void failAt(std::string reason, uint64_t line, uint64_t column)
    {
        if (failed_)
            return;
        failed_ = true;
        problem_.reason = std::move(reason);
        problem_.line = line;
        problem_.column = column;
        XML_StopParser(parser_.get(), XML_FALSE);
    }

    DatRead failAtEnd(std::string reason)
    {
        fail(std::move(reason));
        return {std::nullopt, problem_};
    }

    DatRead expatFailure(bool atEnd)
    {
        const XML_Error code = XML_GetErrorCode(parser_.get());
        const bool cut = atEnd && (code == XML_ERROR_NO_ELEMENTS || code == XML_ERROR_UNCLOSED_TOKEN ||
                                   code == XML_ERROR_PARTIAL_CHAR || code == XML_ERROR_UNCLOSED_CDATA_SECTION);
        if (cut && !open_.empty())
            fail("cut short: the file ends inside an element");
        else
            fail(std::string("not XML: ") + XML_ErrorString(code));
        return {std::nullopt, problem_};
    }

    std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser_;
    uint64_t bytes_ = 0;
    std::unique_ptr<DatBuilder> builder_;  // made at the root element, when the form is known
    std::vector<Element> open_;
    std::string text_;
    bool logiqx_ = false;
    bool lists_ = false;  // the root holds software lists, not software
    std::string listNames_;
    bool failed_ = false;
    uint64_t gameLine_ = 0;
    uint64_t gameColumn_ = 0;
    DatProblem problem_;
};

}  // namespace

DatRead parseXmlDat(DatSource& source, std::string_view first, const std::string& path, uint64_t bytes)
{
    return XmlDatReader(path, bytes).read(source, first);
}

}  // namespace tokenade
