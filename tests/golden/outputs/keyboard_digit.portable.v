// QIRO 2.3c
// examples/keyboard_digit.sch
// Portable netlist: complete on its own for a Verilog simulator (checked with Icarus Verilog).
// A gate output at x does not drive in Qiro; on nodes with several drivers such outputs
// drive z here (qiro_drive). Two drivers at opposite levels on one node give x here,
// where Qiro keeps the later one in its symbol table.
// Delays: each output carries the delay of its Qiro delay line in ns (one step is 1 ns) as a transport delay: pulses of any width pass.
// Qiro's glitch filter (option, on by default) removes one-step pulses (010, 101) before they
// leave a line of 5 steps or more (a delay of 4 steps or more); this netlist keeps them.
// Qiro computes nothing before its first step (step 3): outputs decided by supplies alone
// settle here from time 0.

`timescale 1ns / 1ps
module keyboard_digit(kbd11, kbd12, kbd13, kbd14, digit11, digit12, digit13, digit14);
 input kbd11, kbd12, kbd13, kbd14;
 output digit11, digit12, digit13, digit14;
 assign digit11 = kbd14;
 assign digit12 = kbd13;
 assign digit13 = kbd12;
 assign digit14 = kbd11;
endmodule

// Simulation parameters

// Testbench: the inputs follow the stimuli above from Qiro's first step (step 3) on; one step
// is 1 ns. Run: iverilog FILE && vvp a.out
module keyboard_digit_tb;
  parameter STEPS = 100;
  localparam real TU = 1;
  reg kbd11, kbd12, kbd13, kbd14;
  wire digit11, digit12, digit13, digit14;
  integer step;
  keyboard_digit dut(.kbd11(kbd11), .kbd12(kbd12), .kbd13(kbd13), .kbd14(kbd14), .digit11(digit11), .digit12(digit12), .digit13(digit13), .digit14(digit14));
  initial begin
    $dumpfile("keyboard_digit.vcd");
    $dumpvars(1, dut);
    #(3 * TU);
    kbd11 = 1'b0;  // keyboard kbd1: key 0
    kbd12 = 1'b0;  // keyboard kbd1: key 0
    kbd13 = 1'b0;  // keyboard kbd1: key 0
    kbd14 = 1'b0;  // keyboard kbd1: key 0
    for (step = 3; step <= STEPS; step = step + 1) begin
      #(TU);
    end
    $finish;
  end
endmodule
Verilog description written in "-"
