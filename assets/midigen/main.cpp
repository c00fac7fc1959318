// midigen: writes a Standard MIDI File from a note list.
//   midigen <note list> <MIDI file>
#include "note_list.h"
#include "smf_writer.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::cerr << "usage: midigen <note list> <MIDI file>\n";
        return 2;
    }
    const std::filesystem::path input = argv[1];
    const std::filesystem::path output = argv[2];

    std::ifstream in(input, std::ios::binary);
    if (!in) {
        std::cerr << input.string() << ": cannot be read\n";
        return 1;
    }
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const NoteListResult result = ReadNoteList(text);
    if (!result.score) {
        std::cerr << input.string() << ": " << result.error << "\n";
        return 1;
    }

    // Written beside the target and renamed, so a failed run leaves no
    // half-written file that the build would take as up to date.
    std::error_code error;
    std::filesystem::create_directories(output.parent_path(), error);
    std::filesystem::path partial = output;
    partial += ".part";
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    out << StandardMidiFile(*result.score);
    out.close();
    if (out)
        std::filesystem::rename(partial, output, error);
    if (!out || error) {
        std::filesystem::remove(partial, error);
        std::cerr << output.string() << ": cannot be written\n";
        return 1;
    }
    return 0;
}
