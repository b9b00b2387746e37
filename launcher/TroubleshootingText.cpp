#include "launcher/TroubleshootingText.h"

#include "BuildSettings.h"

namespace qvs {

std::vector<std::string> TroubleshootingIntroLines() {
    return {
        "Please Follow these steps in order.  Usually each step will require that you restart Quorvash to continue.  If you ",
        "must restart Quorvash to complete a step hit the 'Play Game' button to see if it fixed your problem.  If it did not fix ",
        "your problem reread the step to make sure you followed it correctly.  If you did move on to the next step.",
        "",
        "If you are encountering problems running Quorvash, you can try a few of these steps and see if any of them help",
        "alleviate the problem.",
        "",
        std::string(
            "If none of these steps help fix your problem please submit a bug report or send an email to ") +
            build::SupportEmail,
        std::string("and ") + build::ErrorReportEmail +
            " with your username and a detailed description of the problem that is occuring.",
        "",
        "If you were encountering problems and one of these steps help fixed it, we would also appreciate an email telling us what",
        "the problem was and what step help fixed it.",
        " ",
    };
}

std::vector<std::string> TroubleshootingClientCodeLines() {
    return {
        "It has come to our attention that sometimes when the QVS.exe determines that an update is needed for the client ",
        "software to run, it sometimes downloads a corrupt file.  By deleting the QVSC.ecd file you will force the program to ",
        "redownload and update the client installation.  If you choose to delete the QVSC.ecd file the program will close.  After ",
        "opening the program again and then hitting the play game button, the program will redownload the latest client files ",
        "needed to run the program.",
    };
}

std::vector<std::string> TroubleshootingDataFilesLines() {
    return {
        "It has come to our attention that sometimes when the QVS.exe determines that an update is needed for the client ",
        "artwork, sound, data files, etc.  It may sometimes download corrupt artwork, sound or data files.  By deleting the QVS.dat ",
        "file you will force the program to redownload and update ALL artwork, sound, and data files.  Warning this will cause you ",
        "to download a lot of files...all of the latest artwork, sound, and data files.  This may be a lengthy operation.  If you choose ",
        "to delete the QVS.dat file the program will close.  After opening the program again and then hitting the play game button, ",
        "the program will redownload all of the latest artwork, sound, and data files needed by the client program.",
        " ",
    };
}

std::vector<std::string> TroubleshootingPatchLines() {
    return {
        "By clicking on the button below we will take you to our website download page.  Any patches that the automatic updater ",
        "could take care of will be available.  If there is no patch available or the patch does not solve your problem, you may ",
        "have recieved a corrupt installation file.  Try downloading Quorvash one more time to see if that fixes the problem.  ",
        "",
        "If it does not fix the problem or none of these steps helped you can move onto the next step.",
    };
}

std::vector<std::string> TroubleshootingNetworkLines() {
    return {
        "Well none of the steps helped you so far huh?  You may have an issue communicating with the automatic updater ",
        "and/or game server.  The common causes for this is the use of a firewall and/or router.  If this is the case you should ",
        "have had a window pop up telling you this was the problem and what ports you will have to open to resolve the ",
        "communication issue.",
        "",
        "By clicking on the button below you will be taken to our Trouble Shooting web page.  This page will give you a more ",
        "detailed description of what communication problems can arrise and how you can go about fixing them.",
    };
}

std::vector<std::string> TroubleshootingBugReportLines() {
    return {
        "The final step in this process is to submit a bug report to the game developers.",
        "",
        "Please give a detailed description of the problem and anything that you are aware of that may be the cause of the ",
        "problem.  We will try to get back to you as soon as possible so that you can start playing Quorvash.",
        "",
        "You may also use the submit a bug report option to report any bugs in the game as well.",
    };
}

} // namespace qvs
