// The four help lines shown on the status panel while the pointer rests on a
// menu button, indexed by the button's Tag - 1.
#pragma once

#include <array>
#include <string_view>

namespace qvs {

using HelpLines = std::array<std::string_view, 4>;

inline constexpr int MenuButtonCount = 9;

inline constexpr std::array<HelpLines, MenuButtonCount> HelpText = {{
    {"Provides the ability to chat with other players and receive help",
     "from a live representive if any of them are online.",
     "Please click the 'Problems' button first to see if any of those",
     "steps help fix your problem first."},
    {"To play Quorvash you must signup for an account.  Just",
     "let us know what you want your login name and password to be.",
     "We will send you your authoriztion code via email.",
     "This process is completly free and painless."},
    {"Tired of running out of couriers?  Want a little more mana",
     "and stealth?  Running out of training orders?  Become a ",
     "registered user today and learn more about what benefits a", "registered user receives."},
    {"This will take you to the Tellwick home page",
     "where a variety of usefull links and account management", "utilities can be found.", ""},
    {"Talk to other players in the game.  Give",
     "your opinions and suggestions to the game creators.",
     "Ask for help or learn about usefull strategies.", ""},
    {"Having problems logging in?  Get a black screen when hitting",
     "the play game button?  Need to get the latest Java version?",
     "You can also submit a bug report here.", ""},
    {"View your own clan and look at other clans to join.",
     "Registered users can also create a clan but anyone can join a clan.",
     "Clans are an organization of players that work together to",
     "try to achieve world dominance in Quorvash."},
    {"Play Quorvash.  This will take you to the login screen.",
     "Simply provide your username, password, and authorization code",
     "to enter the land of Ostrel.", ""},
    {"", "Exits Quorvash.", "", ""},
}};

// Shown instead of the Play Game lines while the game server has not answered.
inline constexpr HelpLines PlayGameDisabledHelp = {"The 'Play Game' button has been disabled. ",
                                                   "Try again later when the Server is Online. ",
                                                   "", ""};

} // namespace qvs
