// A client of the desktop's speech service, speech-dispatcher, in its own protocol (SSIP) over its
// Unix socket. Nothing here waits: commands queue and go out as the socket takes them, replies are
// read as they come, and a message is being spoken from its sending until the service tells its end.
#pragma once

#include <deque>
#include <string>

class Ssip {
  public:
    ~Ssip() { close(); }
    // Connects to $SPEECHD_ADDRESS (unix_socket:PATH) or, without it, to the service's own socket under
    // $XDG_RUNTIME_DIR (else ~/.cache); false, with *why, when it cannot.
    bool connect(std::string* why);
    bool connected() const { return fd >= 0; }
    void close();
    // A command line of the protocol ("SET SELF RATE 20"); its answer is read and let pass.
    void command(const std::string& line);
    // A message (UTF-8, lines apart by '\n') queued to be spoken after those before it.
    void speak(const std::string& text);
    // The message being spoken and those queued stop.
    void cancel();
    // What is queued sent as far as the socket takes it now, and the service let go with a goodbye.
    void quit();
    // Sends what the socket takes now and reads the answers that came: false, with *why, once the
    // service has gone or refused a message.
    bool turn(std::string* why);
    bool speaking() const { return unanswered > 0 || last_id > done_id; }
    // Something is still to send, or an answer to come.
    bool pending() const { return !out.empty() || !expected.empty(); }

  private:
    enum class Answer { ANY, SPEAK, TEXT }; // what a command's answer tells
    bool send_out(std::string* why);
    bool take(const std::string& line, std::string* why);
    void answered(int code, std::string* why, bool* ok);
    int fd = -1;
    std::string out, in;
    std::deque<Answer> expected;
    std::string first;                 // the first part of the answer being read: a message's number
    unsigned long last_id = 0;         // the last message the service numbered
    unsigned long done_id = 0;         // messages up to this one are spoken or cancelled
    int unanswered = 0, cancelled = 0; // messages not numbered yet, and of them those cancelled
};
