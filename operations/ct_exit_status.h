// What an operation came to. The values are the exit statuses of the storyport command, as its
// --help text lists them; scripts rely on them, so they never change meaning.
#pragma once

enum et_ExitStatus : int {
    e_ExitOk = 0,
    e_ExitError = 1,       // the operation failed; the log holds an "Error: ..." line
    e_ExitUsage = 2,       // the command line was wrong; nothing was done
    e_ExitDiffers = 3,     // check: the tagged file and the document do not hold the same stories
    e_ExitCanceled = 130,  // the user pressed Ctrl-C (128 + SIGINT, as shells report it)
};
