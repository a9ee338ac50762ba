#!/usr/bin/perl
# pserver.pl REPO STATE LOG - a cvs pserver on 127.0.0.1 for tests, on a free port.
#
# Listens on a port the system chooses, writes "PID PORT" to STATE (atomically), and forks
# "cvs -f --allow-root=REPO pserver" for every connection, with the socket as its standard
# input and output and its standard error appended to LOG. Loopback only. The test fixture
# starts it as the leader of its own session and stops it by ending that process group.
use strict;
use warnings;
use IO::Socket::INET;
use POSIX ":sys_wait_h";

my ($repo, $state, $log) = @ARGV;
die "usage: pserver.pl REPO STATE LOG\n" unless defined $log;
my $server = IO::Socket::INET->new(LocalAddr => "127.0.0.1", LocalPort => 0, Listen => 16,
                                   ReuseAddr => 1, Proto => "tcp")
    or die "cannot listen on 127.0.0.1: $!\n";
$SIG{CHLD} = sub { 1 while waitpid(-1, WNOHANG) > 0 };
# A test that dies before it stops the server must not leave it running for ever.
alarm 900;
open(my $out, ">", "$state.tmp") or die "$state.tmp: $!\n";
print $out "$$ ", $server->sockport, "\n";
close $out;
rename("$state.tmp", $state) or die "$state: $!\n";
while (1) {
    my $client = $server->accept or next;
    my $pid = fork;
    if (defined $pid && $pid == 0) {
        # An ignored or caught SIGCHLD would make the server spin after the command.
        $SIG{CHLD} = "DEFAULT";
        close $server;
        open(STDIN, "<&", $client) or die;
        open(STDOUT, ">&", $client) or die;
        open(STDERR, ">>", $log) or die;
        exec "cvs", "-f", "--allow-root=$repo", "pserver";
        exit 1;
    }
    close $client;
}
