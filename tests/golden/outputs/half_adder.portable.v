// QIRO 2.3c
// examples/half_adder.sch
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
module half_adder(a, b, sum, carry);
 input a, b;
 output sum, carry;
 reg xor3_r;
 always @* xor3_r <= #1 a ^ b;
 assign sum = xor3_r;
 reg and4_r;
 always @* and4_r <= #1 a & b;
 assign carry = and4_r;
endmodule

// Simulation parameters
// a CLK 10 10
// b CLK 20 20

// Testbench: the inputs follow the stimuli above from Qiro's first step (step 3) on; one step
// is 1 ns. Run: iverilog FILE && vvp a.out
module half_adder_tb;
  parameter STEPS = 400;
  localparam real TU = 1;
  reg a, b;
  wire sum, carry;
  integer step;
  half_adder dut(.a(a), .b(b), .sum(sum), .carry(carry));
  initial begin
    $dumpfile("half_adder.vcd");
    $dumpvars(1, dut);
    #(3 * TU);
    a = 1'b0;
    b = 1'b0;
    for (step = 3; step <= STEPS; step = step + 1) begin
      if (step % 20 == 0) a = 1'b0; else if (step % 20 == 10) a = 1'b1;  // button button1
      if (step % 40 == 0) b = 1'b0; else if (step % 40 == 20) b = 1'b1;  // button button2
      #(TU);
    end
    $finish;
  end
endmodule
Verilog description written in "-"
