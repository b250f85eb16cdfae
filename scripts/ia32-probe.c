/* Whether this kernel runs 32-bit x86 code, asked of the kernel itself: this
 * 64-bit program makes the 32-bit system call getpid (number 20, through
 * int $0x80) and compares the answer with getpid(). A kernel without IA-32
 * emulation (not built in, or switched off with ia32_emulation=) refuses
 * the call: the process gets a signal or an error instead of its pid.
 * Whether a 32-bit program happens to start says nothing: a binfmt_misc
 * entry left behind would run it under an emulator.
 * Exit status 0 and "ia32: yes" when the call works; 1 and "ia32: no". */
#include <signal.h>
#include <stdio.h>
#include <unistd.h>

static void refused(int sig) {
  (void)sig;
  static const char no[] = "ia32: no\n";
  (void)!write(1, no, sizeof no - 1);
  _exit(1);
}

int main(void) {
  signal(SIGSEGV, refused);
  signal(SIGILL, refused);
  signal(SIGBUS, refused);
  long result = 20; /* __NR_getpid of the 32-bit system call table */
  __asm__ volatile("int $0x80" : "+a"(result) : : "r8", "r9", "r10", "r11", "memory", "cc");
  if (result != (long)getpid()) refused(0);
  puts("ia32: yes");
  return 0;
}
