#pragma once
// A working folder of the user's own for the window started from the desktop's
// menu: the window reads database.ini of its current folder and writes the
// chosen language back into it, which the program's folder may not allow and
// which each user chooses for themselves.

#include <filesystem>

struct UserFolderPlaces {
    std::filesystem::path Folder;  // the working folder, made when missing
    std::filesystem::path Sample;  // the sample database.ini that came with the program
    bool Russian = false;          // the user reads Russian
};

// This user's and this program's places, as the system names them. Throws
// std::runtime_error, with the text for the user, when it names no folder for
// the user's files.
UserFolderPlaces UserFolderPlacesOfThisUser();

// Makes places.Folder (with the folders above it) when it is missing, gives it
// a copy of the sample as database.ini when it has none, with "Language" set
// to RU or EN as the user reads, and makes it the current folder. A
// database.ini that is there, the user's own, is never touched. Throws
// std::runtime_error, with the text for the user naming the path and the
// reason, when the folder cannot be made or entered, the sample cannot be
// read, the copy cannot be written, or database.ini is a folder; the current
// folder is then as it was.
void EnterUserFolder(const UserFolderPlaces& places);
